// The recorder and the player as plain records (inside platform/replay): what
// reaches the program written into a replay's item stream, and the stream fed
// back at the same ticks. The hooks (hooks.cpp) drive them from the input path.
#pragma once

#include <cstdint>

#include "platform/replay.h"
#include "platform/replay/replay_items.h"
#include "platform/windowing.h"

namespace plat::replay::detail {

// One game being recorded. It never holds more than a reader accepts: once
// the game outgrows the format it is cut at a tick boundary.
struct Recorder {
    bool on = false;
    Replay game;
    ItemWriter writer{game.input};
    uint32_t ticks = 0;
    uint8_t held = 0;     // the polled keys as the last tick read them
    uint8_t pressed = 0;  // arrows pressed since: held from the next tick

    // The game as it stood just before the latest tick: where a game that
    // outgrows the format is cut.
    struct Boundary {
        size_t size;
        ItemWriter writer;
        uint32_t ticks;
        int32_t fishEaten;
    } boundary{0, ItemWriter(game.input), 0, 0};

    Recorder() = default;
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    void start(const Header& header);
    // A tick reads the polled keys (`liveHeld`, bit i for plat::kPolledKeys[i]);
    // `fishEaten` is the game's count before it. False when the game has
    // outgrown what a replay may hold: cut it (cutShort).
    bool tick(uint8_t liveHeld, int32_t fishEaten);
    // An input the queue hands the program; false as for tick.
    bool event(const Event& event);
    // The game ended: its outcome is set and recording stops.
    void finish(Ending ending, int32_t fishEaten);
    // The game outgrew the format: it is kept as it stood just before the
    // latest tick, ending "cut short", and recording stops.
    void cutShort();

private:
    bool roomFor() const;
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
    bool stopTimers = false;  // a watched game ended: the queue is yet to stop its timers
    uint32_t departure = 0;  // the first tick whose state check differed (state_checks.cpp)
};

Replays& replays();
// The current game's fish eaten (0 before the game connects its count).
int32_t fishEatenNow();
// A recorded game outgrew the format: its replay, cut short, goes to the keeper.
void keepCutShort();

}  // namespace plat::replay::detail
