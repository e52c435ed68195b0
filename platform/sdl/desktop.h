// Starting and stopping the desktop handset (the SDL2 back end), for the
// desktop executable's main() and the desktop tests. Nothing here names SDL.
#pragma once

namespace plat::sdl {

// Starts video and input. Returns 0 when the program may run, else the exit
// status to end with (a message has been printed on stderr).
int startDesktop();
// Closes the window, sound, gamepads and the instance channel.
void stopDesktop();

}  // namespace plat::sdl
