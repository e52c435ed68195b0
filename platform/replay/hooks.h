// Where replays meet the input path: the event queue (platform/core/windowing.cpp)
// and the key-state read (platform/core/input.cpp) call these, once for every
// edition, so every input the program receives is recorded or, while a replay
// is watched, replaced. Calls go one way: the input path hands over what the
// replay needs (the keys the player holds, where a replayed input goes) and is
// told what to do next; nothing here calls back into it.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

namespace plat::replay::hooks {

// A timer tick is being delivered; `liveHeld` is what the player's own keys
// hold of the polled ones (bit i for plat::kPolledKeys[i]).
void tick(uint8_t liveHeld);
// An input event (anything but a tick) is being delivered.
void delivered(const Event& event);

// Where a replayed input goes: the window and the commands its soft keys
// carry (a replay may bring no other command).
struct FeedTarget {
    Window* window = nullptr;
    uint32_t leftCommand = 0;
    uint32_t rightCommand = 0;
};
enum class Idle {
    Wait,        // nothing to feed: wait for a timer or input
    Feed,        // `event` holds the watched replay's next due input
    StopTimers,  // the watched game has ended: its last screen stays, nothing ticks any more
};
// The queue is idle: what it does next. Feed brings one item per call (a
// Paint means the window needs a paint); StopTimers comes once per ending.
Idle idle(const FeedTarget& target, Event& event);
// The queue is idle and no timer runs: a watched replay that still waits for
// ticks can never go on.
void stalled();
// The key state the program reads: `live` unless a replay is watched.
uint16_t keyRead(uint32_t keyCode, uint16_t live);
// Live input is held back while a replay is watched.
bool liveInputHeldBack();

}  // namespace plat::replay::hooks
