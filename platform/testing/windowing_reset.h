// What only tests use of the window manager: starting it afresh within one
// process, the one window, and raw key readings. Built into a test-only library, never into
// what a player runs.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace plat {

struct Window;

// Forgets every window, timer, event and held key (the next program run
// starts afresh).
void resetWindowing();
// The one window created, or null.
Window* mainWindowOf();

// Holds a key as a source of the test's own, with this raw 16-bit key-state
// reading (0: lets it go), e.g. 0x8000 (only the top bit), as some handsets
// give; no key press reaches the program.
void setKeyReading(uint32_t keyCode, uint16_t reading);
inline void setKeyHeld(uint32_t keyCode, bool held) { setKeyReading(keyCode, held ? kKeyHeld : 0); }

}  // namespace plat
