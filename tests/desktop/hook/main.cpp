// fingulp-desktop-test: the desktop executable with the test hook, for the
// desktop tests. Input comes from a script in the headless runner's language,
// pushed where SDL's events enter; --stats prints the presentation figures
// at the end.
// Usage: fingulp-desktop-test [--input SCRIPT] [--stats]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/program.h"
#include "hook/present_figures.h"
#include "hook/script_input.h"
#include "platform/sdl/desktop.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: fingulp-desktop-test [--input SCRIPT] [--stats]\n");
    return 2;
}

void printStats() {
    const desktop_hook::PresentFigures stats = desktop_hook::presentFigures();
    std::fprintf(stderr,
                 "fingulp stats: renderer %s, presents %llu, first present %.1f ms, later presents %.1f us "
                 "on average, raises %llu\n",
                 stats.renderer.empty() ? "none" : stats.renderer.c_str(),
                 static_cast<unsigned long long>(stats.presents), static_cast<double>(stats.firstNanoseconds) / 1e6,
                 stats.presents > 1 ? static_cast<double>(stats.nanoseconds) / 1000.0 / (stats.presents - 1) : 0.0,
                 static_cast<unsigned long long>(stats.raises));
}

}  // namespace

int main(int argc, char** argv) {
    std::string scriptPath;
    bool stats = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--input") == 0 && i + 1 < argc) {
            scriptPath = argv[++i];
        } else if (std::strcmp(argv[i], "--stats") == 0) {
            stats = true;
        } else {
            return usage();
        }
    }
    std::vector<desktop_hook::TimedEvent> events;
    if (!scriptPath.empty()) {
        std::ifstream in(scriptPath);
        std::stringstream text;
        text << in.rdbuf();
        std::vector<plat::script::Command> commands;
        std::string error = "cannot read it";
        if (!in || !plat::script::parse(text.str(), commands, error) ||
            !desktop_hook::eventsOf(commands, events, error)) {
            std::fprintf(stderr, "fingulp-desktop-test: %s: %s\n", scriptPath.c_str(), error.c_str());
            return 2;
        }
    }
    if (const int failed = plat::sdl::startDesktop()) return failed;
    desktop_hook::ScriptPlayer player(std::move(events));
    player.start();
    const int code = programMain();
    player.stop();
    if (stats) printStats();
    plat::sdl::stopDesktop();
    return code;
}
