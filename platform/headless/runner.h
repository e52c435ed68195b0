// fingulp-sim's command line: runs the real program on the headless handset
// under a script.
#pragma once

#include <string>

namespace plat::headless {

// fingulp-sim [--exe-dir DIR] [--log FILE] [--record FILE] [--shot FILE.png]
//             [--animation FILE.webp] SCRIPT   (SCRIPT "-" reads stdin)
// fingulp-sim [--exe-dir DIR] [--log FILE] [--shot FILE.png]
//             [--animation FILE.webp] --replay FILE [--verify]
// Runs `programMain` and prints "exit CODE" when it returns; prints "running"
// when the script ends first (the options: usage() in runner.cpp). Returns the runner's own exit status (2 for a
// bad command line or script).
int runSimulator(int argc, char** argv, int (*programMain)(), std::string (*describeState)());

}  // namespace plat::headless
