// What a game tick reads and keeps that a replay must carry as well: the keys
// it polls and how many ticks the death vibration runs. The tick
// (app/tick.cpp) and the recorder and player (platform/replay) both read it
// here, so a key polled is a key replayed.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace plat {

// The keys a game tick reads, in the order of a replay's held-key bits (at
// most eight: the format has room for no more). The first four are read in
// turn and only the first held one counts; every one of the others counts.
constexpr uint32_t kPolledKeys[] = {kKeyLeft, kKeyRight, kKeyUp, kKeyDown, '2', '8', '4', '6'};
constexpr int kPolledKeyCount = sizeof kPolledKeys / sizeof kPolledKeys[0];
constexpr int kFirstEveryKey = 4;
static_assert(kPolledKeyCount <= 8, "a replay holds at most eight polled keys");

// The death vibration runs this many game ticks; a replay keeps how far an
// earlier game's had run (0 to one less).
constexpr uint32_t kVibrationLength = 5;

}  // namespace plat
