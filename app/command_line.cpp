// The desktop executable's command line.
#include "app/command_line.h"

#include <cstring>

namespace {

// "easy" or "hard" as the level switch; -1 for anything else.
int levelNamed(const char* name) {
    if (std::strcmp(name, "easy") == 0) return 0;
    if (std::strcmp(name, "hard") == 0) return 1;
    return -1;
}

}  // namespace

CommandLine readCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    const auto refuse = [&line](std::string why) {
        line.action = CommandLine::Action::Refuse;
        line.error = std::move(why);
        return line;
    };
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            line.action = CommandLine::Action::Help;
        } else if (std::strcmp(arg, "--version") == 0) {
            if (line.action == CommandLine::Action::Play) line.action = CommandLine::Action::Version;
        } else if (std::strcmp(arg, "--level") == 0 || std::strncmp(arg, "--level=", 8) == 0) {
            const char* name = arg[7] == '=' ? arg + 8 : (i + 1 < argc ? argv[++i] : nullptr);
            if (!name) return refuse("--level needs easy or hard");
            line.level = levelNamed(name);
            if (line.level < 0) return refuse(std::string("unknown level '") + name + "': easy or hard");
        } else {
            return refuse(std::string("unknown option '") + arg + "'");
        }
    }
    return line;
}

const char* commandLineUsage() {
    return "usage: fingulp [--level easy|hard] [--help] [--version]\n"
           "  --level easy|hard  play at this level (saved at Exit, as Options would)\n"
           "  --help             show this and end\n"
           "  --version          show the version and end\n";
}
