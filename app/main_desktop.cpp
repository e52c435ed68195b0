// The desktop executable: FINGULP in a window on the desktop handset.
#include <cstdio>

#include "app/command_line.h"
#include "app/first_paint.h"
#include "app/program.h"
#include "platform/replay.h"
#include "platform/sdl/desktop.h"
#include "platform/text_encoding.h"

int main(int argc, char** argv) {
    const CommandLine line = readCommandLine(argc, argv);
    switch (line.action) {
        case CommandLine::Action::Help: std::fputs(commandLineUsage(), stdout); return 0;
        case CommandLine::Action::Version: std::printf("fingulp %s\n", FINGULP_VERSION); return 0;
        case CommandLine::Action::Refuse:
            std::fprintf(stderr, "fingulp: %s\n%s", line.error.c_str(), commandLineUsage());
            return 2;
        case CommandLine::Action::Keys: return plat::sdl::listKeys();
        case CommandLine::Action::Bind: return plat::sdl::bindKeys(line.bindings);
        case CommandLine::Action::Play: break;
        case CommandLine::Action::Watch: {
            std::string error;
            if (!plat::replay::watchFrom(line.replay, error)) {
                std::fprintf(stderr, "fingulp: %s: %s\n", plat::shownArgument(line.replay.c_str()).c_str(), error.c_str());
                return 2;
            }
            break;
        }
    }
    if (line.level >= 0) chooseLevel(line.level);
    if (const int failed = plat::sdl::startDesktop()) return failed;
    const int code = programMain();
    plat::sdl::stopDesktop();
    return code;
}
