// Where replays meet the input path: the event queue (platform/core/windowing.cpp)
// and the key-state read (platform/core/input.cpp) call these, once for every
// edition, so every input the program receives is recorded or, while a replay
// is watched, replaced.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

namespace plat::replay::hooks {

// A timer tick is being delivered.
void tick();
// An input event (anything but a tick) is being delivered.
void delivered(const Event& event);
// The queue is idle: a watched replay's next due input, true with it in
// `event` (a Paint means the window needs a paint). Every item fed passes
// here, one per call.
bool feed(Event& event);
// The queue is idle and no timer runs: a watched replay that still waits for
// ticks can never go on.
void stalled();
// The key state the program reads: `live` unless a replay is watched.
uint16_t keyRead(uint32_t keyCode, uint16_t live);
// Live input is held back while a replay is watched.
bool liveInputHeldBack();

}  // namespace plat::replay::hooks
