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

// An argument as a message quotes it: control bytes (an escape sequence that
// would drive the terminal, a line break) written as \xNN.
std::string shown(const char* arg) {
    std::string text;
    for (const char* c = arg; *c; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        } else {
            text += *c;
        }
    }
    return text;
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
            if (line.level < 0) return refuse("unknown level '" + shown(name) + "': easy or hard");
        } else {
            return refuse("unknown option '" + shown(arg) + "'");
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
