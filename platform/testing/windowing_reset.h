// What only tests use of the window manager: starting it afresh within one
// process. Built into a test-only library, never into what a player runs.
#pragma once

namespace plat {

// Forgets every window, timer and event (the next program run starts afresh).
void resetWindowing();

}  // namespace plat
