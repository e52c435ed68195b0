// The desktop executable's command line.
#include "app/command_line.h"

#include <cstring>

#include "platform/text_encoding.h"

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
    // False, refused, when a replay was named before.
    const auto watch = [&line, &refuse](const char* what) {
        if (!line.replay.empty()) return refuse("several replays: name one to watch"), false;
        line.replay = what;
        return true;
    };
    bool operandsOnly = false;  // after "--" every argument is a replay, whatever it starts with
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (operandsOnly || arg[0] != '-') {
            if (!watch(arg)) return line;  // fingulp FILE.fgr, as the desktop entry opens one
        } else if (std::strcmp(arg, "--") == 0) {
            operandsOnly = true;
        } else if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            line.action = CommandLine::Action::Help;
        } else if (std::strcmp(arg, "--version") == 0) {
            if (line.action == CommandLine::Action::Play) line.action = CommandLine::Action::Version;
        } else if (std::strcmp(arg, "--level") == 0 || std::strncmp(arg, "--level=", 8) == 0) {
            const char* name = arg[7] == '=' ? arg + 8 : (i + 1 < argc ? argv[++i] : nullptr);
            if (!name) return refuse("--level needs easy or hard");
            line.level = levelNamed(name);
            if (line.level < 0) return refuse("unknown level '" + plat::shownArgument(name) + "': easy or hard");
        } else if (std::strcmp(arg, "--replay") == 0 || std::strncmp(arg, "--replay=", 9) == 0) {
            const char* what = arg[8] == '=' ? arg + 9 : (i + 1 < argc ? argv[++i] : nullptr);
            if (!what || !*what) return refuse("--replay needs a replay file or a shared link");
            if (!watch(what)) return line;
        } else if (std::strcmp(arg, "--keys") == 0) {
            if (line.action == CommandLine::Action::Play) line.action = CommandLine::Action::Keys;
        } else if (std::strcmp(arg, "--bind") == 0 || std::strncmp(arg, "--bind=", 7) == 0) {
            const char* setting = arg[6] == '=' ? arg + 7 : (i + 1 < argc ? argv[++i] : nullptr);
            if (!setting || !std::strchr(setting, '=')) return refuse("--bind needs NAME=KEYS, e.g. up=W,Up");
            line.bindings.emplace_back(setting);
        } else {
            return refuse("unknown option '" + plat::shownArgument(arg) + "'");
        }
    }
    if (!line.bindings.empty() && (line.action == CommandLine::Action::Play || line.action == CommandLine::Action::Keys)) {
        line.action = CommandLine::Action::Bind;
    }
    if ((line.action == CommandLine::Action::Keys || line.action == CommandLine::Action::Bind) &&
        (line.level >= 0 || !line.replay.empty())) {
        return refuse("--keys and --bind end without playing: no level or replay with them");
    }
    if (!line.replay.empty() && line.action == CommandLine::Action::Play) {
        if (line.level >= 0) return refuse("--level plays a game: a replay brings its own level");
        line.action = CommandLine::Action::Watch;
    }
    return line;
}

const char* commandLineUsage() {
    return "usage: fingulp [--level easy|hard] [--help] [--version]\n"
           "       fingulp [--replay] FILE.fgr|LINK\n"
           "       fingulp [--] FILE.fgr|LINK\n"
           "       fingulp --keys | --bind NAME=KEYS...\n"
           "  --level easy|hard  play at this level (saved at Exit, as Options would)\n"
           "  --replay FILE|LINK watch a replay: a .fgr file, a text file holding a shared link, or the link\n"
           "                     (Space pauses, Right/+ and Left/- set the speed, Escape ends)\n"
           "  --                 what follows is the replay, even if it starts with -\n"
           "  --keys             list the keys (keys.ini in ~/.config/fingulp/) and end\n"
           "  --bind NAME=KEYS   set keys in keys.ini and end, e.g. --bind up=W,Up --bind gamepad-action=a,x\n"
           "                     --bind sticky-arrows=on (names: man fingulp)\n"
           "  --help             show this and end\n"
           "  --version          show the version and end\n";
}
