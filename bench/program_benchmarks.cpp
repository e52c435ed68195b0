// fingulp_bench: one game frame, the menu and Options redraws and the
// settings load, each also as a multiple of one plain copy of a whole
// 176 x 220 x 4-byte frame (the yardstick, timed first in the same run).
// The game frame and the redraws also report their heap allocations.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/window_proc.h"
#include "counting_new.h"
#include "game/frame.h"
#include "game/scene.h"
#include "game/session.h"
#include "platform/headless/headless.h"
#include "platform/replay.h"
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

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--profile") return profile(argv[2], std::atol(argv[3]));
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
