// fingulp_soak [--ticks N] [--seed S]: the real program on the headless
// handset, played with random input for N game ticks (the tick and the game
// frame are wrapped at link time), with the game's invariants checked after
// every game frame. Exit status 0 when nothing failed.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/program.h"
#include "game/session.h"
#include "invariants.h"
#include "platform/headless/headless.h"
#include "platform/windowing.h"
#include "random_input.h"
#include "state/program_state.h"
#include "testing/program_reset.h"

namespace {

struct Soak {
    uint64_t ticksWanted = 200000;
    uint64_t ticks = 0;
    uint64_t idleCalls = 0;
    uint64_t idleSinceTick = 0;
    bool stopping = false;
    bool stuck = false;
    InvariantChecker checker;
    RandomInput* input = nullptr;
};

Soak soak;

// Idle rounds in a row without a tick before the run counts as stuck.
constexpr uint64_t kStuckAfter = 100000;

void stop() {
    if (soak.stopping) return;
    soak.stopping = true;
    // The menu bar's Quit command: surfaces released, loop ended, exit code 0.
    plat::postEvent(mainWindow, plat::kEventCommand, plat::kCommandQuit, 0);
}

void onIdle() {
    ++soak.idleCalls;
    if (soak.stopping) {
        std::fprintf(stderr, "soak: the program kept running after the Quit command\n");
        std::_Exit(2);
    }
    if (++soak.idleSinceTick > kStuckAfter) {
        soak.stuck = true;
        stop();
        return;
    }
    soak.input->whenIdle();
}

}  // namespace

extern "C" void __real__Z7runTickv();
extern "C" void __wrap__Z7runTickv() {
    __real__Z7runTickv();
    ++soak.ticks;
    soak.idleSinceTick = 0;
    if (soak.ticks % 10000 == 0) plat::headless::clearLog();  // the log would only grow
    if (soak.ticks >= soak.ticksWanted) {
        stop();
    } else if (!soak.stopping) {
        soak.input->afterTick();
    }
}

extern "C" void __real__Z12runGameFrameR11GameSessionPN4plat6WindowE(GameSession& game, plat::Window* window);
extern "C" void __wrap__Z12runGameFrameR11GameSessionPN4plat6WindowE(GameSession& game, plat::Window* window) {
    __real__Z12runGameFrameR11GameSessionPN4plat6WindowE(game, window);
    soak.checker.afterFrame(game);
}

int main(int argc, char** argv) {
    uint32_t seed = 2002;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--ticks") {
            soak.ticksWanted = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (option == "--seed") {
            seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        } else {
            std::fprintf(stderr, "usage: fingulp_soak [--ticks N] [--seed S]\n");
            return 2;
        }
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fingulp_soak_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);

    RandomInput input(seed);
    soak.input = &input;
    plat::resetWindowing();
    plat::headless::reset();
    resetProgram();
    plat::headless::setExecutablePath((folder / "fingulp").u16string());
    plat::headless::onInputExhausted(onIdle);

    const int exitCode = programMain();
    std::filesystem::remove_all(folder);

    const InvariantChecker& c = soak.checker;
    std::printf("soak: seed %u, %llu ticks, %llu game frames, %llu idle rounds\n", seed,
                static_cast<unsigned long long>(soak.ticks), static_cast<unsigned long long>(c.frames),
                static_cast<unsigned long long>(soak.idleCalls));
    std::printf("soak: input %llu keys, %llu soft keys, %llu focus changes, %llu repaints, %llu New game, "
                "%llu Exit avoided\n",
                static_cast<unsigned long long>(input.keyPresses), static_cast<unsigned long long>(input.softKeys),
                static_cast<unsigned long long>(input.focusChanges), static_cast<unsigned long long>(input.paints),
                static_cast<unsigned long long>(input.newGames), static_cast<unsigned long long>(input.exitsAvoided));
    std::printf("soak: game %llu growths, %llu shrinks, %llu times eaten, %llu starved, largest class %d\n",
                static_cast<unsigned long long>(c.growths), static_cast<unsigned long long>(c.shrinks),
                static_cast<unsigned long long>(c.deaths), static_cast<unsigned long long>(c.starvations),
                c.largestClass);

    bool ok = c.failures.empty();
    for (const std::string& failure : c.failures) std::printf("FAILED invariant, %s\n", failure.c_str());
    if (exitCode != 0) {
        std::printf("FAILED: exit code %d\n", exitCode);
        ok = false;
    }
    if (soak.stuck || soak.ticks < soak.ticksWanted) {
        std::printf("FAILED: the run stopped after %llu of %llu ticks%s\n", static_cast<unsigned long long>(soak.ticks),
                    static_cast<unsigned long long>(soak.ticksWanted), soak.stuck ? " (no tick came any more)" : "");
        ok = false;
    }
    // A run that never played would check nothing: the long run must have gone
    // through the game's turns. (Short runs, for trying things out, are exempt.)
    if (soak.ticksWanted >= 100000 &&
        (c.frames < soak.ticks / 4 || c.growths == 0 || c.shrinks == 0 || c.deaths == 0 || c.starvations < 10 ||
         c.largestClass < 3 || input.newGames < 10)) {
        std::printf("FAILED: the random play did not reach enough of the game\n");
        ok = false;
    }
    std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
