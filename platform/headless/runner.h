// fingulp-sim's command line: runs the real program on the headless handset
// under a script.
#pragma once

#include <string>

namespace plat::headless {

// fingulp-sim [--exe-dir DIR] [--log FILE] SCRIPT   (SCRIPT "-" reads stdin)
// Runs `programMain` and prints "exit CODE" when it returns; prints "running"
// when the script ends first. Returns the runner's own exit status (2 for a
// bad command line or script).
int runSimulator(int argc, char** argv, int (*programMain)(), std::string (*describeState)());

}  // namespace plat::headless
