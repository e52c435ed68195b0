// The headless runner's `state` line.
#pragma once

#include <string>

// One line of name=value pairs describing the program's state.
std::string describeProgramState();
