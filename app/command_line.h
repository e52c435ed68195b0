// The desktop executable's command line: --help, --version, --level, a
// replay to watch, and the keys (--keys, --bind).
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Play, Watch, Help, Version, Refuse, Keys, Bind };
    Action action = Action::Play;
    int level = -1;      // 0 easy, 1 hard; -1 as config.ini says
    std::string replay;  // Watch: a replay file, or text holding a shared link
    std::string error;   // why it was refused
    std::vector<std::string> bindings;  // Bind: "NAME=KEYS" settings for keys.ini, in order
};

CommandLine readCommandLine(int argc, const char* const* argv);

// The usage text, for --help and for a refused command line.
const char* commandLineUsage();
