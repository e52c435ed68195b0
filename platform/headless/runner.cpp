// fingulp-sim's command line, script or replay loading and the closing lines.
#include "platform/headless/runner.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>

#include "platform/files.h"
#include "platform/headless/animation.h"
#include "platform/headless/headless.h"
#include "platform/replay.h"
#include "platform/text_encoding.h"

namespace plat::headless {
namespace {

namespace replay = plat::replay;

constexpr size_t kLargestScript = 64u << 20;  // far more than any script; a larger file is refused

int usage() {
    std::fprintf(stderr,
                 "usage: fingulp-sim [OPTIONS] SCRIPT\n"
                 "       fingulp-sim [OPTIONS] --replay FILE [--verify | --until TICK]\n"
                 "       fingulp-sim --info FILE\n"
                 "  SCRIPT  script file, or - for standard input\n"
                 "  --exe-dir DIR       folder the program believes it runs from (config.ini lives there)\n"
                 "  --log FILE          log of sounds, vibration, timers and messages (- for stdout)\n"
                 "  --record FILE       keep the replay of the game the script plays\n"
                 "  --replay FILE       play a replay (a .fgr file, or text holding a link) instead of a script\n"
                 "  --verify            with --replay: exit 1 when the game departs from the replay or ends otherwise\n"
                 "  --until TICK        with --replay: stop once TICK game ticks have run (50 ms each)\n"
                 "  --info FILE         print what a replay holds on one line\n"
                 "  --shot FILE.png     keep the last screen\n"
                 "  --animation FILE.webp  keep the whole run as an animated WebP, 20 frames a second\n");
    return 2;
}

struct Run {
    std::string recordPath;
    std::string shotPath;
    bool verify = false;
    uint32_t until = 0;
    bool stopAtTick = false;
    bool watching = false;
    bool haveRecorded = false;
    replay::Replay recorded;
    std::string (*describeState)() = nullptr;
};

Run& run() {
    static Run r;
    return r;
}

void keepRecorded(const replay::Replay& game) {
    run().recorded = game;
    run().haveRecorded = true;
}

std::string outcomeLine(const replay::Outcome& o) {
    return std::string("ending=") + replay::endingName(o.ending) + " fish=" + std::to_string(o.fishEaten) +
           " ticks=" + std::to_string(o.ticks);
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) std::remove(path.c_str());
    return ok;
}

// The closing work of every run: the recording, the last screen, the
// animation, and with a replay its state line and verdict. Returns the
// runner's exit status.
int finishRun() {
    Run& r = run();
    int status = 0;
    if (!r.recordPath.empty()) {
        replay::finishRecording(replay::Ending::Unfinished);
        if (!r.haveRecorded) {
            std::fprintf(stderr, "fingulp-sim: no game was played: nothing to record\n");
            status = 1;
        } else if (!writeFile(r.recordPath, replay::encode(r.recorded))) {
            std::fprintf(stderr, "fingulp-sim: cannot write %s\n", shownArgument(r.recordPath.c_str()).c_str());
            status = 1;
        } else if (const std::string cut = replay::cutShortNotice(r.recorded); !cut.empty()) {
            std::fprintf(stderr, "fingulp-sim: %s\n", cut.c_str());
        }
    }
    if (!r.shotPath.empty() && !writeScreenPng(r.shotPath)) {
        std::fprintf(stderr, "fingulp-sim: cannot write %s\n", shownArgument(r.shotPath.c_str()).c_str());
        status = 1;
    }
    std::string error;
    if (!finishAnimation(error)) {
        std::fprintf(stderr, "fingulp-sim: %s\n", shownArgument(error.c_str()).c_str());
        status = 1;
    }
    if (r.watching) {
        std::printf("time=%llu %s\n", static_cast<unsigned long long>(now()),
                    r.describeState ? r.describeState().c_str() : "");
        const replay::Outcome seen = replay::observedOutcome();
        const replay::Outcome& kept = replay::watched().outcome;
        const uint32_t departed = replay::departure();
        std::printf("replay %s%s\n", outcomeLine(seen).c_str(),
                    departed ? (" departs=" + std::to_string(departed)).c_str() : "");
        if (r.verify && departed) {
            std::fprintf(stderr, "fingulp-sim: the game departs from the replay at tick %u (%s)\n", departed,
                         replay::tickTime(departed).c_str());
            status = status ? status : 1;
        } else if (r.verify && !(seen == kept)) {
            std::fprintf(stderr, "fingulp-sim: the game ended otherwise than the replay says: %s, recorded %s\n",
                         outcomeLine(seen).c_str(), outcomeLine(kept).c_str());
            status = status ? status : 1;
        }
    }
    std::fflush(stdout);
    return status;
}

void exhausted() {
    if (!run().watching) std::printf("running\n");
    const int status = finishRun();
    std::fflush(stdout);
    std::_Exit(status);
}

bool reachedTick() { return replay::watchedTicks() >= run().until; }

struct Options {
    std::string exeDir = ".";
    std::string logPath;
    std::string scriptPath;
    std::string replayPath;
    std::string animationPath;
    std::string infoPath;
    std::string until;
};

// The command line into `o` and run(); false for a bad one.
bool parseArguments(int argc, char** argv, Options& o) {
    Run& r = run();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg == "--exe-dir"     ? &o.exeDir
                             : arg == "--log"       ? &o.logPath
                             : arg == "--record"    ? &r.recordPath
                             : arg == "--replay"    ? &o.replayPath
                             : arg == "--shot"      ? &r.shotPath
                             : arg == "--animation" ? &o.animationPath
                             : arg == "--info"      ? &o.infoPath
                             : arg == "--until"     ? &o.until
                                                    : nullptr;
        if (value && i + 1 < argc) {
            *value = argv[++i];
        } else if (arg == "--verify") {
            r.verify = true;
        } else if (!value && o.scriptPath.empty() && (arg == "-" || arg[0] != '-') && arg != "-h" && arg != "--help") {
            o.scriptPath = arg;
        } else {
            if (arg != "-h" && arg != "--help") {
                std::fprintf(stderr, "fingulp-sim: unexpected argument '%s'\n", shownArgument(arg.c_str()).c_str());
            }
            return false;
        }
    }
    if (!o.until.empty()) {
        char* end = nullptr;
        const unsigned long tick = std::strtoul(o.until.c_str(), &end, 10);
        if (o.until[0] < '0' || o.until[0] > '9' || *end != '\0' || tick > replay::kMaxTicks) return false;
        r.until = static_cast<uint32_t>(tick);
        r.stopAtTick = true;
    }
    if (!o.infoPath.empty()) return argc == 3;
    const bool watching = !o.replayPath.empty();
    return o.scriptPath.empty() == watching && (watching || (!r.verify && !r.stopAtTick)) &&
           (!watching || r.recordPath.empty()) && !(r.verify && r.stopAtTick);
}

// --info: what a replay holds, on one line.
int printInfo(const std::string& path) {
    replay::Replay game;
    std::string error;
    if (!replay::loadReplay(path, game, error)) {
        std::fprintf(stderr, "fingulp-sim: %s: %s\n", shownArgument(path.c_str()).c_str(), error.c_str());
        return 2;
    }
    // Its size as given: a file's bytes, or those its text form holds.
    std::string contents;
    std::vector<uint8_t> bytes;
    if (!readExistingFile(path, replay::kMaxTextChars + 1, contents)) contents = path;
    const bool binary = contents.compare(0, 3, "FGR") == 0;
    if (!binary) replay::fromText(contents, bytes, error);
    std::printf("%s\n", replay::describe(game, binary ? contents.size() : bytes.size()).c_str());
    return 0;
}

// The replay to watch or the script to run; false after saying why not.
bool loadInput(const Options& o) {
    std::string error;
    if (!o.replayPath.empty()) {
        if (!replay::watchFrom(o.replayPath, error)) {
            std::fprintf(stderr, "fingulp-sim: %s: %s\n", shownArgument(o.replayPath.c_str()).c_str(), error.c_str());
            return false;
        }
        run().watching = true;
        if (run().stopAtTick) onIdle(reachedTick);
        return true;
    }
    std::stringstream text;
    if (o.scriptPath == "-") {
        text << std::cin.rdbuf();
    } else {
        std::string contents;
        if (!readExistingFile(o.scriptPath, kLargestScript, contents) || contents.size() >= kLargestScript) {
            std::fprintf(stderr, "fingulp-sim: cannot read script %s\n", shownArgument(o.scriptPath.c_str()).c_str());
            return false;
        }
        text << contents;
    }
    if (!loadScript(text.str(), error)) {
        std::fprintf(stderr, "fingulp-sim: %s: %s\n", shownArgument(o.scriptPath.c_str()).c_str(),
                     shownArgument(error.c_str()).c_str());
        return false;
    }
    return true;
}

// The log and the animation; false after saying why not.
bool openOutputs(const Options& o, std::FILE*& logFile) {
    // The log is only ever written out (--log), never read here.
    keepLog(false);
    if (!o.logPath.empty()) {
        logFile = o.logPath == "-" ? stdout : std::fopen(o.logPath.c_str(), "w");
        if (!logFile) {
            std::fprintf(stderr, "fingulp-sim: cannot write log %s\n", shownArgument(o.logPath.c_str()).c_str());
            return false;
        }
        logTo(logFile);
    }
    if (!o.animationPath.empty() && !startAnimation(o.animationPath)) {
        std::fprintf(stderr, "fingulp-sim: the animation encoder cannot start\n");
        return false;
    }
    return true;
}

}  // namespace

int runSimulator(int argc, char** argv, int (*programMain)(), std::string (*describeState)()) {
    Options o;
    if (!parseArguments(argc, argv, o)) return usage();
    if (!o.infoPath.empty()) return printInfo(o.infoPath);
    reset();
    std::FILE* logFile = nullptr;
    if (!loadInput(o) || !openOutputs(o, logFile)) return 2;
    std::string exeDir = o.exeDir;
    while (exeDir.size() > 1 && exeDir.back() == '/') exeDir.pop_back();
    setExecutablePath(fromUtf8(exeDir + "/fingulp"));
    onStateRequest(describeState);
    run().describeState = describeState;
    replay::recordGames(replay::Edition::Headless, keepRecorded);
    onInputExhausted(exhausted);

    const int code = programMain();
    std::printf("exit %d\n", code);
    const int status = finishRun();
    if (logFile && logFile != stdout) std::fclose(logFile);
    return status;
}

}  // namespace plat::headless
