// fingulp_soak [--ticks N] [--seed S] [--exit-every G]: the real program on
// the headless handset, played with random input for N game ticks (the tick
// and the game frame are wrapped at link time), with the game's invariants
// checked after every game frame. Every G New games the player chooses Exit
// and the program starts again in the same folder: the switches and best
// scores it reads back must be those it saved, and the best score never
// below that of any game that ended. Every game that ends is recorded and,
// once the run is over, played back on a fresh program: it must end the same
// way with the same screen. Exit status 0 when nothing failed.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "game/session.h"
#include "invariants.h"
#include "platform/headless/headless.h"
#include "platform/replay.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"
#include "random_input.h"
#include "tests/support/fresh_program.h"
#include "screens/controller.h"
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

    // What the last Exit saved, to be read back by the next start.
    bool readBackPending = false;
    uint8_t savedSwitches[6] = {};
    int32_t savedScores[4] = {};
    uint64_t readBacks = 0;
    std::vector<std::string> saveFailures;
};

Soak soak;

// The games recorded, each with the screen it ended on, played back at the end.
struct Playback {
    std::vector<std::pair<plat::replay::Replay, std::vector<uint32_t>>> games;
    bool on = false;
    std::vector<uint32_t> endScreen;  // the screen the last game ended on
    std::vector<std::string> failures;
} playback;

void keepGame(const plat::replay::Replay& replay) { playback.games.push_back({replay, playback.endScreen}); }

void endWatching() { plat::postQuit(0); }

// Idle rounds in a row without a tick before the run counts as stuck.
constexpr uint64_t kStuckAfter = 100000;

void stop() {
    if (soak.stopping) return;
    soak.stopping = true;
    // The menu bar's Quit command: surfaces released, loop ended, exit code 0.
    plat::postEvent(mainWindow, plat::kEventCommand, plat::kCommandQuit, 0);
}

void saveFailure(const std::string& what) {
    if (soak.saveFailures.size() < 20) {
        soak.saveFailures.push_back("tick " + std::to_string(soak.ticks) + ": " + what);
    }
}

std::string describe(const uint8_t (&switches)[6], const int32_t (&scores)[4]) {
    std::string text = "switches ";
    for (uint8_t on : switches) text += static_cast<char>('0' + on);
    text += " scores";
    for (int32_t score : scores) text += " " + std::to_string(score);
    return text;
}

// What Exit is about to have saved: the switches and the four best scores.
void rememberSaved() {
    std::copy_n(screenController.switches, 6, soak.savedSwitches);
    if (scoreTable) std::copy_n(scoreTable->bestScores, 4, soak.savedScores);
    if (soak.savedScores[0] < soak.checker.highestEndedScore) {
        saveFailure("Exit saves the best score " + std::to_string(soak.savedScores[0]) + " below a game's " +
                    std::to_string(soak.checker.highestEndedScore));
    }
    soak.readBackPending = true;
}

// Once the restarted program's first paint has loaded the settings.
void checkReadBack() {
    if (!soak.readBackPending || firstPaintPending != 0) return;
    soak.readBackPending = false;
    ++soak.readBacks;
    uint8_t switches[6];
    int32_t scores[4] = {};
    std::copy_n(screenController.switches, 6, switches);
    if (scoreTable) std::copy_n(scoreTable->bestScores, 4, scores);
    if (!std::equal(switches, switches + 6, soak.savedSwitches) || !std::equal(scores, scores + 4, soak.savedScores)) {
        saveFailure("saved " + describe(soak.savedSwitches, soak.savedScores) + ", read back " + describe(switches, scores));
    }
}

void onIdle() {
    ++soak.idleCalls;
    checkReadBack();
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

// A game ends: the screen it ended on, while it is recorded or played back.
extern "C" bool __real__Z8gameEndsN4plat6replay6EndingE(plat::replay::Ending ending);
extern "C" bool __wrap__Z8gameEndsN4plat6replay6EndingE(plat::replay::Ending ending) {
    if (!playback.on || plat::replay::watchState() == plat::replay::Watch::Playing) {
        playback.endScreen = plat::screenSurface()->bitmap->pixels;
    }
    return __real__Z8gameEndsN4plat6replay6EndingE(ending);
}

std::string describe(const plat::replay::Outcome& o) {
    return std::string(plat::replay::endingName(o.ending)) + " fish " + std::to_string(o.fishEaten) + " ticks " +
           std::to_string(o.ticks);
}

// Each recorded game on a fresh program, from its replay alone.
void playBack(const std::filesystem::path& folder) {
    playback.on = true;
    for (size_t i = 0; i < playback.games.size(); ++i) {
        const auto& [replay, screen] = playback.games[i];
        test_program::fresh(folder, endWatching);
        plat::replay::watch(replay);
        playback.endScreen.clear();
        programMain();
        const plat::replay::Outcome seen = plat::replay::observedOutcome();
        if (!(seen == replay.outcome) || playback.endScreen != screen) {
            playback.failures.push_back("game " + std::to_string(i + 1) + ": recorded " + describe(replay.outcome) +
                                        ", played back " + describe(seen) +
                                        (playback.endScreen != screen ? ", another last screen" : ""));
        }
    }
}

extern "C" void __real__Z7runTickv();
extern "C" void __wrap__Z7runTickv() {
    if (playback.on) return __real__Z7runTickv();
    checkReadBack();
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
    if (!playback.on) soak.checker.afterFrame(game);
}

int main(int argc, char** argv) {
    uint32_t seed = 2002;
    uint64_t exitEvery = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--ticks") {
            soak.ticksWanted = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (option == "--seed") {
            seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
        } else if (option == "--exit-every") {
            exitEvery = std::strtoull(argv[i + 1], nullptr, 10);
        } else {
            std::fprintf(stderr, "usage: fingulp_soak [--ticks N] [--seed S] [--exit-every G]\n");
            return 2;
        }
    }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("fingulp_soak_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);

    RandomInput input(seed);
    input.exitEvery = exitEvery;
    soak.input = &input;
    int exitCode = 0;
    uint64_t starts = 0;
    plat::replay::recordGames(plat::replay::Edition::Headless, keepGame);
    for (;;) {
        plat::resetWindowing();
        plat::headless::reset();
        resetProgram();
        plat::headless::setExecutablePath((folder / "fingulp").u16string());
        plat::headless::onInputExhausted(onIdle);
        soak.idleSinceTick = 0;
        ++starts;
        exitCode = programMain();
        if (exitCode != 0 || !input.exitChosen || soak.stopping) break;
        rememberSaved();
        input.startAgain();
    }
    if (input.exitChosen && soak.stopping) saveFailure("the program did not end on Exit");
    playBack(folder);
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
    std::printf("soak: %llu starts, %llu Exits, %llu settings read back, highest score of an ended game %d\n",
                static_cast<unsigned long long>(starts), static_cast<unsigned long long>(input.exitsChosen),
                static_cast<unsigned long long>(soak.readBacks), soak.checker.highestEndedScore);
    std::printf("soak: game %llu growths, %llu shrinks, %llu times eaten, %llu starved, largest class %d\n",
                static_cast<unsigned long long>(c.growths), static_cast<unsigned long long>(c.shrinks),
                static_cast<unsigned long long>(c.deaths), static_cast<unsigned long long>(c.starvations),
                c.largestClass);

    std::printf("soak: %zu games recorded and played back, %zu ended otherwise\n", playback.games.size(),
                playback.failures.size());

    bool ok = c.failures.empty() && soak.saveFailures.empty() && playback.failures.empty();
    for (size_t i = 0; i < std::min<size_t>(playback.failures.size(), 20); ++i) {
        std::printf("FAILED replay, %s\n", playback.failures[i].c_str());
    }
    for (const std::string& failure : c.failures) std::printf("FAILED invariant, %s\n", failure.c_str());
    for (const std::string& failure : soak.saveFailures) std::printf("FAILED settings, %s\n", failure.c_str());
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
         c.largestClass < 3 || input.newGames < 10 || playback.games.size() < input.newGames / 2 || (exitEvery != 0 && (input.exitsChosen < 3 || soak.readBacks != input.exitsChosen)))) {
        std::printf("FAILED: the random play did not reach enough of the game\n");
        ok = false;
    }
    std::printf("%s\n", ok ? "soak passed" : "soak FAILED");
    return ok ? 0 : 1;
}
