// The program's entry points as the back ends' executables call them.
#pragma once

#include <cstdint>

#include "platform/windowing.h"

// The main routine: one running copy, the window class, the window, the
// message loop. Returns the exit code (always 0).
int programMain();

// The window procedure.
int32_t mainWindowProc(plat::Window* window, uint32_t code, uint32_t param, uint32_t param2);
