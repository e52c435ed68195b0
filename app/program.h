// The program's entry points as the back ends' executables call them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/windowing.h"

// The main routine: one running copy, the window class, the window, the
// message loop. Returns the exit code (always 0).
int programMain();

// Builds the three static objects afresh (settings store, first game session,
// screen controller), every program-wide value and the generator, as a fresh
// start of the process would; for tests that run the program more than once
// in one process.
void resetProgram();

// The window procedure.
int32_t mainWindowProc(plat::Window* window, uint32_t code, uint32_t param, uint32_t param2);

// One line of name=value pairs describing the program's state, for the
// headless runner's `state` command.
std::string describeProgramState();
