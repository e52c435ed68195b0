// Starting and stopping the desktop handset (the SDL2 back end), for the
// desktop executable's main() and the desktop tests. Nothing here names SDL.
#pragma once

#include <string>
#include <vector>

namespace plat::sdl {

// Starts video and input. Returns 0 when the program may run, else the exit
// status to end with (a message has been printed on stderr).
int startDesktop();
// Closes the window, sound, gamepads and the instance channel.
void stopDesktop();

// fingulp --keys: prints the keys keys.ini gives (today's keys without one);
// the exit status.
int listKeys();
// fingulp --bind: "NAME=KEYS" settings over keys.ini's, checked and written;
// exit status 0, 2 with the reason when refused, 1 when it cannot be written.
int bindKeys(const std::vector<std::string>& settings);

}  // namespace plat::sdl
