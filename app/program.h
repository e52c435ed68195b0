// The program's entry point as the back ends' executables call it.
#pragma once

// The main routine: one running copy, the window class, the window, the
// message loop. Returns the exit code (always 0).
int programMain();
