// Starting and stopping the desktop handset (the SDL2 back end), for the
// desktop executable's main() and the desktop tests. Nothing here names SDL.
#pragma once

namespace plat::sdl {

// Starts video and input, and reads the test input script named by the
// environment variable FINGULP_TEST_INPUT when it is set. Returns 0 when the
// program may run, else the exit status to end with (a message has been
// printed on stderr).
int startDesktop();
// Closes the window, sound, gamepads and the instance channel. With the
// environment variable FINGULP_STATS set, prints the presentation figures.
void stopDesktop();

}  // namespace plat::sdl
