// Where replays meet the input path (internal to platform/core): every input
// the event queue hands the program, every game-timer tick and every
// key-state read (input.cpp) passes here, to be recorded or, while a replay
// is watched, replaced.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

namespace plat::detail {

// A timer tick is being delivered.
void tapTick();
// An input event (anything but a tick) is being delivered.
void tapDelivered(const Event& event);
// The queue is idle: a watched replay hands over its next due input. True
// when it did (the queue or the pending paint now holds it).
bool tapFeed();
// The queue is idle and no timer runs: a watched replay that still waits for
// ticks can never go on.
void tapStalled();
// The key state the program reads: `live` unless a replay is watched.
uint16_t tapKeyState(uint32_t keyCode, uint16_t live);
// Live input is set aside while a replay is watched.
bool tapLiveInputBlocked();
// The player's held keys as they read now (input.cpp).
uint16_t liveKeyState(uint32_t keyCode);

}  // namespace plat::detail
