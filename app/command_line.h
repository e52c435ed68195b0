// The desktop executable's command line: --help, --version, --level and a
// replay to watch.
#pragma once

#include <string>

struct CommandLine {
    enum class Action { Play, Watch, Help, Version, Refuse };
    Action action = Action::Play;
    int level = -1;      // 0 easy, 1 hard; -1 as config.ini says
    std::string replay;  // Watch: a replay file, or text holding a shared link
    std::string error;   // why it was refused
};

CommandLine readCommandLine(int argc, const char* const* argv);

// The usage text, for --help and for a refused command line.
const char* commandLineUsage();
