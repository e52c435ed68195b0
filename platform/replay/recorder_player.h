// The recorder and the player as plain records (inside platform/replay): what
// reaches the program written into a replay's item stream, and the stream fed
// back at the same ticks. The hooks (hooks.cpp) drive them from the input path.
#pragma once

#include <cstdint>

#include "platform/replay.h"
#include "platform/replay/replay_items.h"
#include "platform/windowing.h"

namespace plat::replay::detail {

// One game being recorded.
struct Recorder {
    bool on = false;
    Replay game;
    ItemWriter writer{game.input};
    uint32_t ticks = 0;
    uint8_t held = 0;     // the polled keys as the last tick read them
    uint8_t pressed = 0;  // arrows pressed since: held from the next tick

    Recorder() = default;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void start(const Header& header);
    // A tick reads the polled keys (`liveHeld`, bit i for plat::kPolledKeys[i]).
    // False when the game is as long as a replay may hold: it must end.
    bool tick(uint8_t liveHeld);
    // An input the queue hands the program.
    void event(const Event& event);
    // The game ended: its outcome is set and recording stops.
    void finish(Ending ending, int32_t fishEaten);
};

// One replay being played back.
struct Player {
    Replay game;
    ItemReader reader{nullptr, 0};
    Item pending;
    bool havePending = false;
    uint32_t ticks = 0;
    uint8_t held = 0;
    uint8_t pressed = 0;

    // From tick 0 of game.input.
    void begin();
    // A tick: the held keys it reads change as recorded.
    void tick();
    // The next input due at this tick that is not a held-key change: true with it.
    bool next(Item& item);
    // A press the player fed: an arrow that was up is held from the next tick.
    void fed(const Item& item);
    // Everything was fed and the recorded ticks ran.
    bool done() const { return !havePending && ticks >= game.outcome.ticks; }
    uint16_t keyState(uint32_t keyCode) const;

private:
    void advance();
};

// The edition's recorder and player, and whom they serve.
struct Replays {
    Edition edition = Edition::Headless;
    void (*keep)(const Replay&) = nullptr;
    int32_t (*fishEaten)() = nullptr;
    uint16_t (*stateChecksum)() = nullptr;
    Recorder recorder;
    Watch watch = Watch::None;
    Player player;
    Outcome observed;
    uint32_t departure = 0;  // the first tick whose state check differed (state_checks.cpp)
};

Replays& replays();

}  // namespace plat::replay::detail
