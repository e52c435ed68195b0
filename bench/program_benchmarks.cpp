// fingulp_bench: one game frame, the menu and Options redraws and the
// settings load, each also as a multiple of one plain copy of a whole
// 176 x 220 x 4-byte frame (the yardstick, timed first in the same run).
// The game frame and the redraws also report their heap allocations. And
// seeking in a ten-minute replay, which a steering bot plays first.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/window_proc.h"
#include "counting_new.h"
#include "game/frame.h"
#include "game/scene.h"
#include "game/session.h"
#include "platform/headless/headless.h"
#include "platform/replay.h"
#include "platform/input.h"
#include "platform/testing/replay_reset.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "settings/settings_store.h"
#include "state/program_state.h"
#include "testing/program_reset.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kFrameBytes = 176 * 220 * 4;

std::vector<uint8_t>& copySource() {
    static std::vector<uint8_t> bytes(kFrameBytes, 0x5A);
    return bytes;
}
std::vector<uint8_t>& copyTarget() {
    static std::vector<uint8_t> bytes(kFrameBytes, 0);
    return bytes;
}

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds of one frame copy: the median of 31 batches of 2000 copies.
double measureCopySeconds() {
    std::vector<double> batches;
    for (int b = 0; b < 31; ++b) {
        const double start = threadCpuSeconds();
        for (int i = 0; i < 2000; ++i) {
            std::memcpy(copyTarget().data(), copySource().data(), kFrameBytes);
            benchmark::ClobberMemory();
        }
        batches.push_back((threadCpuSeconds() - start) / 2000);
    }
    std::nth_element(batches.begin(), batches.begin() + 15, batches.end());
    return batches[15];
}

double copySeconds = 0;

// The loop's CPU time per iteration as a multiple of one frame copy.
struct RatioToCopy {
    double start = threadCpuSeconds();
    void report(benchmark::State& state) const {
        const double perIteration = (threadCpuSeconds() - start) / static_cast<double>(state.iterations());
        state.counters["x_copy"] = perIteration / copySeconds;
    }
};

// Heap allocations per iteration, counted around the workload alone (the
// benchmark library's own bookkeeping stays out of the count).
void reportAllocations(benchmark::State& state, uint64_t allocations) {
    state.counters["allocs"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

template <typename Workload>
uint64_t countedRun(Workload workload) {
    const uint64_t before = heapAllocations();
    workload();
    return heapAllocations() - before;
}

// The program as it stands after start-up: window, first paint (surfaces,
// fonts, pictures, settings) and the main menu, in a scratch folder.
void startProgram() {
    static bool started = false;
    if (started) return;
    started = true;
    const fs::path folder = fs::temp_directory_path() / "fingulp_bench";
    fs::create_directories(folder);
    plat::resetWindowing();
    plat::headless::reset();
    resetProgram();
    plat::headless::setExecutablePath((folder / "fingulp").u16string());
    plat::registerClass(u"HelloApp", mainWindowProc, 108);
    mainWindow = plat::createWindow(u"HelloApp", u"Smartphone 2002", 178, 225);
    plat::showWindow(mainWindow);
    plat::updateWindow(mainWindow);  // the first paint
}

void BM_FrameCopy(benchmark::State& state) {
    const RatioToCopy ratio;
    for (auto _ : state) {
        std::memcpy(copyTarget().data(), copySource().data(), kFrameBytes);
        benchmark::ClobberMemory();
    }
    ratio.report(state);
}

// --- The workloads, shared by the benchmarks and the profiling mode -------------

void startGame() {
    startProgram();
    screenController.state = MainMenu;
    screenController.cursor = 0;
    screenController.startNewGame();
    plat::stopTimer(mainWindow, kGameTimerId);
    // Past the first 60 frames, when the soft-key captions have gone.
    for (int i = 0; i < 60; ++i) runGameFrame(*currentGame, mainWindow);
}

void gameFrame() {
    hungerClock = 0;  // fed for ever: every frame is one of a running game
    runGameFrame(*currentGame, mainWindow);
}

// A whole game tick as the message loop delivers it (the recorder samples the held
// keys on the timer's event); an arrow is pressed or let go every second.
void startTicking(bool recording) {
    startGame();
    if (!recording) plat::replay::finishRecording(plat::replay::Ending::Unfinished);
    // A key let go reads 0x8000: its entry stays, so the loop allocates nothing.
    for (uint32_t key = plat::kKeyLeft; key <= plat::kKeyDown; ++key) plat::setKeyReading(key, 0x8000);
    plat::startTimer(mainWindow, kGameTimerId, kGameTimerPeriodMs);
}

void gameTick() {
    static uint32_t ticks = 0;
    if (++ticks % 20 == 0) {
        plat::setKeyReading(plat::kKeyLeft + (ticks / 20) % 4, (ticks / 20) % 2 == 0 ? plat::kKeyHeld : 0x8000);
    }
    hungerClock = 0;
    plat::headless::advanceClock(kGameTimerPeriodMs);
    plat::Event event;
    plat::nextEvent(event);
    plat::dispatchEvent(event);
}

// The two whole-picture copies every frame makes (background over the frame,
// frame to the screen): the floor under a game frame.
void frameCopiesOnly() {
    drawBackground();
    copyFrameToScreen();
}

void showScreen(int32_t screen) {
    startProgram();
    screenController.state = screen;
    screenController.cursor = 0;
}

void fullRedraw() {
    screenController.previousState = kFullRedraw;  // as a paint asks
    screenController.render();
}

// --- The benchmarks ---------------------------------------------------------------

void BM_GameFrame(benchmark::State& state) {
    startGame();
    uint64_t allocations = 0;
    const RatioToCopy ratio;
    for (auto _ : state) allocations += countedRun(gameFrame);
    ratio.report(state);
    reportAllocations(state, allocations);
}

// Argument 1: the replay recorder on (as in every game a player plays), 0: off.
void BM_GameTick(benchmark::State& state) {
    startTicking(state.range(0) == 1);
    uint64_t allocations = 0;
    const RatioToCopy ratio;
    for (auto _ : state) allocations += countedRun(gameTick);
    ratio.report(state);
    reportAllocations(state, allocations);
    state.counters["recording"] = plat::replay::recording() ? 1 : 0;  // still on at the end
}

void BM_GameFrameCopiesOnly(benchmark::State& state) {
    startGame();
    const RatioToCopy ratio;
    for (auto _ : state) frameCopiesOnly();
    ratio.report(state);
}

void redraw(benchmark::State& state, int32_t screen) {
    showScreen(screen);
    uint64_t allocations = 0;
    const RatioToCopy ratio;
    for (auto _ : state) allocations += countedRun(fullRedraw);
    ratio.report(state);
    reportAllocations(state, allocations);
}

void BM_MenuRedraw(benchmark::State& state) { redraw(state, MainMenu); }
void BM_OptionsRedraw(benchmark::State& state) { redraw(state, OptionsFromMain); }

void BM_LoadSettings(benchmark::State& state) {
    startProgram();  // the headless handset: the reader's waits cost nothing
    const fs::path file = fs::temp_directory_path() / "fingulp_bench" / "defaults.ini";
    const std::u16string path = file.u16string();
    SettingsStore writer;
    writer.writeDefaults(path.c_str());
    SettingsStore store;
    const RatioToCopy ratio;
    for (auto _ : state) benchmark::DoNotOptimize(store.loadFromFile(path.c_str()));
    ratio.report(state);
}

// --- Seeking in a ten-minute replay ----------------------------------------------------

constexpr uint32_t kTenMinutes = 10 * 60 * 1000 / plat::replay::kTickMs;

void freshProgram() {
    const fs::path folder = fs::temp_directory_path() / "fingulp_bench";
    fs::create_directories(folder);
    plat::resetWindowing();
    plat::headless::reset();
    resetProgram();
    plat::replay::resetReplays();
    plat::headless::setExecutablePath((folder / "fingulp").u16string());
    plat::headless::onInputExhausted([] { plat::postQuit(0); });
}

// The bot: from the main menu it starts a game, then each tick holds the one
// arrow that takes its fish away from a bigger fish close by, else towards
// the nearest smaller one; every `wander` ticks (seeded) it goes its own way
// for a few ticks, so that seeds give other games.
struct Bot {
    uint32_t seed = 1;
    uint32_t random = 1;
    bool started = false;
    int held = -1;  // the arrow held, 0..3 as plat::kPolledKeys
    uint32_t wanderLeft = 0;
} bot;

constexpr plat::input::Source kBotKeys = 0x7000;

// The arrow that keeps the fish away from a bigger fish coming at it, else
// lines it up with the nearest smaller fish coming its way and then swims at
// it (a fish swimming off cannot be caught); -1: nothing to do.
int steer(const GameSession& game) {
    const PlayerFish& p = *game.player;
    const int32_t half = p.stripWidth[p.sizeClass] / 4;
    const int32_t px = p.x + half;
    const int32_t py = p.y + p.stripHeight[p.sizeClass] / 2;
    const SchoolFish* target = nullptr;
    int32_t targetDistance = INT32_MAX;
    for (const SchoolFish* f : game.school) {
        if (!f || !f->alive || f->sizeClass == p.sizeClass || f->x < -50 || f->x > 190) continue;
        const int32_t fx = f->x + f->stripWidth / 4;
        const int32_t dy = f->y + f->stripHeight / 2 - py;
        const bool coming = (f->direction == 1) == (fx < px);
        const int32_t reach = (p.stripHeight[p.sizeClass] + f->stripHeight) / 2 + 4;
        if (f->sizeClass > p.sizeClass) {
            if (coming && std::abs(fx - px) < 70 && std::abs(dy) < reach) {
                const int32_t lowest = plat::kCaptionTop - p.stripHeight[p.sizeClass];
                const bool up = (dy > 0 && p.y > 24) || p.y >= lowest - 2;
                return up ? 2 : 3;
            }
            continue;
        }
        const int32_t distance = std::abs(fx - px) + std::abs(dy);
        if (coming && distance < targetDistance) target = f, targetDistance = distance;
    }
    if (!target) return py < 100 ? 3 : py > 130 ? 2 : (px < 70 ? 1 : px > 100 ? 0 : -1);
    const int32_t dy = target->y + target->stripHeight / 2 - py;
    if (std::abs(dy) > 2) return dy < 0 ? 2 : 3;
    return target->x + target->stripWidth / 4 < px ? 0 : 1;
}

bool botPlays() {
    Bot& b = bot;
    if (!b.started) {
        if (screenController.state != MainMenu || firstPaintPending != 0) return false;
        b.started = true;
        plat::headless::pressKey(plat::kKeyReturn);
        return false;
    }
    if (plat::replay::watchState() != plat::replay::Watch::None) return false;
    if (!plat::replay::recording() || !currentGame || !currentGame->player) return !plat::replay::recording();
    if (plat::headless::log().size() > 10000) plat::headless::clearLog();  // the log would only grow
    b.random = b.random * 1103515245u + 12345u;
    if (b.wanderLeft == 0 && (b.random >> 16) % 97 == b.seed % 97) b.wanderLeft = 4 + (b.random >> 8) % 8;
    const int want = b.wanderLeft > 0 ? static_cast<int>((b.random >> 20) % 4) : steer(*currentGame);
    if (b.wanderLeft > 0) --b.wanderLeft;
    if (want != b.held) {
        if (b.held >= 0) plat::input::keyUp(kBotKeys);
        if (want >= 0) plat::input::keyDown(kBotKeys, plat::kPolledKeys[want]);
        b.held = want;
    }
    return false;
}

plat::replay::Replay botGame;
void keepBotGame(const plat::replay::Replay& game) { botGame = game; }
// A ten-minute game: the bot plays with seeds 1, 2, ... until one lasts ten
// minutes; its replay ends there. The seed is printed.
const plat::replay::Replay& tenMinuteReplay() {
    static bool made = false;
    if (made) return botGame;
    made = true;
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        freshProgram();
        bot = Bot{seed, seed};
        botGame = {};
        plat::replay::recordGames(plat::replay::Edition::Headless, keepBotGame);
        plat::headless::onIdle([] {
            // Ten minutes of ticks: the recording ends there, unfinished.
            if (plat::replay::recording() && plat::replay::recordedTicks() >= kTenMinutes) {
                plat::replay::finishRecording(plat::replay::Ending::Unfinished);
                return true;
            }
            return botPlays();
        });
        programMain();
        if (botGame.outcome.ticks >= kTenMinutes) {
            std::printf("ten-minute replay: bot seed %u, %d fish, %zu bytes\n", seed, botGame.outcome.fishEaten,
                        plat::replay::encode(botGame).size());
            return botGame;
        }
    }
    std::fprintf(stderr, "no seed up to 200 made the bot play ten minutes\n");
    std::exit(1);
}

// Where the seek starts (played there first, untimed) and where it goes.
struct SeekPlan {
    uint32_t from = 0;
    uint32_t to = 0;
    bool fromReached = false;
    bool sought = false;
    std::chrono::steady_clock::time_point start;
    double startCpu = 0;
    double seconds = 0;  // wall time
    double cpuSeconds = 0;
} seekPlan;

bool seekWhenThere() {
    SeekPlan& p = seekPlan;
    if (!p.fromReached) {
        p.fromReached = true;
        if (p.from > 0) {
            plat::replay::seekTo(p.from);  // untimed: to where the timed seek starts
            return false;
        }
    }
    if (!p.sought) {
        p.sought = true;
        p.start = std::chrono::steady_clock::now();
        p.startCpu = threadCpuSeconds();
        plat::replay::seekTo(p.to);
        return false;
    }
    p.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - p.start).count();
    p.cpuSeconds = threadCpuSeconds() - p.startCpu;
    return true;
}

// Argument 0: from the start to the end; 1: from the end back to the middle
// (the watched game starts again, then runs five minutes ahead). The time is
// the seek's CPU time on its thread (the machine may be shared); `wall_ms`
// is the wall clock's, the median of the iterations.
void BM_SeekTenMinuteReplay(benchmark::State& state) {
    const plat::replay::Replay& game = tenMinuteReplay();
    const uint32_t end = game.outcome.ticks;
    std::vector<double> wall;
    for (auto _ : state) {
        freshProgram();
        seekPlan = SeekPlan{};
        seekPlan.from = state.range(0) == 0 ? 0 : end;
        seekPlan.to = state.range(0) == 0 ? end : end / 2;
        plat::headless::onIdle(seekWhenThere);
        plat::replay::watch(game);
        programMain();
        if (plat::replay::watchedTicks() != seekPlan.to) state.SkipWithError("the seek stopped elsewhere");
        state.SetIterationTime(seekPlan.cpuSeconds);
        wall.push_back(seekPlan.seconds);
    }
    std::nth_element(wall.begin(), wall.begin() + wall.size() / 2, wall.end());
    state.counters["wall_ms"] = wall.empty() ? 0 : wall[wall.size() / 2] * 1000;
    state.counters["ticks"] = static_cast<double>(state.range(0) == 0 ? end : end / 2);
}

// fingulp_bench --profile frame|menu|options N: N runs of one workload and
// nothing else, for callgrind (collect only inside profileRuns):
//   valgrind --tool=callgrind --toggle-collect='*profileRuns*' fingulp_bench --profile frame 1000
// Prints the heap allocations the N runs made.
__attribute__((noinline)) uint64_t profileRuns(void (*workload)(), long runs) {
    const uint64_t before = heapAllocations();
    for (long i = 0; i < runs; ++i) workload();
    return heapAllocations() - before;
}

int profile(const std::string& name, long runs) {
    void (*workload)() = nullptr;
    if (name == "frame") {
        startGame();
        workload = gameFrame;
    } else if (name == "tick" || name == "recorded-tick") {
        startTicking(name == "recorded-tick");
        workload = gameTick;
    } else if (name == "menu" || name == "options") {
        showScreen(name == "menu" ? MainMenu : OptionsFromMain);
        workload = fullRedraw;
    } else {
        std::fprintf(stderr, "usage: fingulp_bench --profile frame|tick|recorded-tick|menu|options RUNS\n");
        return 2;
    }
    const uint64_t allocations = profileRuns(workload, runs);
    std::printf("%s: %ld runs, %llu heap allocations\n", name.c_str(), runs,
                static_cast<unsigned long long>(allocations));
    return 0;
}

}  // namespace

BENCHMARK(BM_FrameCopy);
BENCHMARK(BM_GameFrame);
BENCHMARK(BM_GameTick)->Arg(0)->Arg(1);
BENCHMARK(BM_GameFrameCopiesOnly);
BENCHMARK(BM_MenuRedraw);
BENCHMARK(BM_OptionsRedraw);
BENCHMARK(BM_LoadSettings);
BENCHMARK(BM_SeekTenMinuteReplay)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// fingulp_bench --ten-minute-replay FILE: the bot's ten-minute game as a link's
// text, for the page's seek figure (bench/web/seek.mjs).
int writeTenMinuteReplay(const char* path) {
    std::ofstream out(path);
    out << plat::replay::toText(plat::replay::encode(tenMinuteReplay())) << '\n';
    return out ? 0 : 1;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--profile") return profile(argv[2], std::atol(argv[3]));
    if (argc == 3 && std::string(argv[1]) == "--ten-minute-replay") return writeTenMinuteReplay(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    copySeconds = measureCopySeconds();
    std::printf("yardstick: one 176 x 220 x 4-byte frame copy takes %.0f ns of CPU time\n", copySeconds * 1e9);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(fs::temp_directory_path() / "fingulp_bench", ignored);
    return 0;
}
