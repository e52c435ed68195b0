// The script engine of the headless handset (internal to platform/headless).
#pragma once

#include <cstdint>

namespace plat::headless {

// Runs script commands until input has been fed or the virtual clock reaches
// `deadline`; at the end of the script calls the input-exhausted handler.
void runScriptUntil(uint64_t deadline);
void resetScript();
// The program blocks (a sleep): for a second or more, takes the screenshot
// the script asked for.
void programBlocks(uint32_t milliseconds);

}  // namespace plat::headless
