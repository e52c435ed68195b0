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
                 "       fingulp-sim [OPTIONS] --replay FILE [--verify]\n"
                 "  SCRIPT  script file, or - for standard input\n"
                 "  --exe-dir DIR       folder the program believes it runs from (config.ini lives there)\n"
                 "  --log FILE          log of sounds, vibration, timers and messages (- for stdout)\n"
                 "  --record FILE       keep the replay of the game the script plays\n"
                 "  --replay FILE       play a replay (a .fgr file, or text holding a link) instead of a script\n"
                 "  --verify            with --replay: exit 1 when the game ends otherwise than recorded\n"
                 "  --shot FILE.png     keep the last screen\n"
                 "  --animation FILE.webp  keep the whole run as an animated WebP, 20 frames a second\n");
    return 2;
}

struct Run {
    std::string recordPath;
    std::string shotPath;
    bool verify = false;
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
        std::printf("replay %s\n", outcomeLine(seen).c_str());
        if (r.verify && !(seen == kept)) {
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

}  // namespace

int runSimulator(int argc, char** argv, int (*programMain)(), std::string (*describeState)()) {
    std::string exeDir = ".";
    std::string logPath;
    std::string scriptPath;
    std::string replayPath;
    std::string animationPath;
    Run& r = run();
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        std::string* value = arg == "--exe-dir"     ? &exeDir
                             : arg == "--log"       ? &logPath
                             : arg == "--record"    ? &r.recordPath
                             : arg == "--replay"    ? &replayPath
                             : arg == "--shot"      ? &r.shotPath
                             : arg == "--animation" ? &animationPath
                                                    : nullptr;
        if (value && i + 1 < argc) {
            *value = argv[++i];
        } else if (arg == "--verify") {
            r.verify = true;
        } else if (arg == "-h" || arg == "--help") {
            return usage();
        } else if (!value && scriptPath.empty() && (arg == "-" || arg[0] != '-')) {
            scriptPath = arg;
        } else {
            std::fprintf(stderr, "fingulp-sim: unexpected argument '%s'\n", shownArgument(arg.c_str()).c_str());
            return usage();
        }
    }
    if (scriptPath.empty() == replayPath.empty() || (r.verify && replayPath.empty()) ||
        (!replayPath.empty() && !r.recordPath.empty())) {
        return usage();
    }

    reset();
    if (!replayPath.empty()) {
        std::string error;
        if (!replay::watchFrom(replayPath, error)) {
            std::fprintf(stderr, "fingulp-sim: %s: %s\n", shownArgument(replayPath.c_str()).c_str(), error.c_str());
            return 2;
        }
        r.watching = true;
    } else {
        std::stringstream text;
        if (scriptPath == "-") {
            text << std::cin.rdbuf();
        } else {
            std::string contents;
            if (!readExistingFile(scriptPath, kLargestScript, contents) || contents.size() >= kLargestScript) {
                std::fprintf(stderr, "fingulp-sim: cannot read script %s\n", shownArgument(scriptPath.c_str()).c_str());
                return 2;
            }
            text << contents;
        }
        std::string error;
        if (!loadScript(text.str(), error)) {
            std::fprintf(stderr, "fingulp-sim: %s: %s\n", shownArgument(scriptPath.c_str()).c_str(),
                         shownArgument(error.c_str()).c_str());
            return 2;
        }
    }
    std::FILE* logFile = nullptr;
    if (!logPath.empty()) {
        logFile = logPath == "-" ? stdout : std::fopen(logPath.c_str(), "w");
        if (!logFile) {
            std::fprintf(stderr, "fingulp-sim: cannot write log %s\n", shownArgument(logPath.c_str()).c_str());
            return 2;
        }
        logTo(logFile);
    }
    if (!animationPath.empty() && !startAnimation(animationPath)) {
        std::fprintf(stderr, "fingulp-sim: the animation encoder cannot start\n");
        return 2;
    }
    while (exeDir.size() > 1 && exeDir.back() == '/') exeDir.pop_back();
    setExecutablePath(fromUtf8(exeDir + "/fingulp"));
    onStateRequest(describeState);
    r.describeState = describeState;
    replay::recordGames(replay::Edition::Headless, keepRecorded);
    onInputExhausted(exhausted);

    const int code = programMain();
    std::printf("exit %d\n", code);
    const int status = finishRun();
    if (logFile && logFile != stdout) std::fclose(logFile);
    return status;
}

}  // namespace plat::headless
