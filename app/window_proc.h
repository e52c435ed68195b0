// The main window's procedure.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

// Routes every event of the main window to the screen controller or the game.
int32_t mainWindowProc(plat::Window* window, uint32_t code, uint32_t param, uint32_t param2);
