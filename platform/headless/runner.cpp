// fingulp-sim's command line, script loading and the closing lines.
#include "platform/headless/runner.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/headless/headless.h"
#include "platform/text_encoding.h"

namespace plat::headless {
namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: fingulp-sim [--exe-dir DIR] [--log FILE] SCRIPT\n"
                 "  SCRIPT  script file, or - for standard input\n"
                 "  --exe-dir DIR  folder the program believes it runs from (config.ini lives there)\n"
                 "  --log FILE     log of sounds, vibration, timers and messages (- for stdout)\n");
    return 2;
}

}  // namespace

int runSimulator(int argc, char** argv, int (*programMain)(), std::string (*describeState)()) {
    std::string exeDir = ".";
    std::string logPath;
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--exe-dir" || arg == "--log") && i + 1 < argc) {
            (arg == "--exe-dir" ? exeDir : logPath) = argv[++i];
        } else if (arg == "-h" || arg == "--help") {
            return usage();
        } else if (scriptPath.empty() && (arg == "-" || arg[0] != '-')) {
            scriptPath = arg;
        } else {
            std::fprintf(stderr, "fingulp-sim: unexpected argument '%s'\n", arg.c_str());
            return usage();
        }
    }
    if (scriptPath.empty()) return usage();

    std::stringstream text;
    if (scriptPath == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream in(scriptPath);
        if (!in) {
            std::fprintf(stderr, "fingulp-sim: cannot read script %s\n", scriptPath.c_str());
            return 2;
        }
        text << in.rdbuf();
    }

    reset();
    std::string error;
    if (!loadScript(text.str(), error)) {
        std::fprintf(stderr, "fingulp-sim: %s: %s\n", scriptPath.c_str(), error.c_str());
        return 2;
    }
    std::FILE* logFile = nullptr;
    if (!logPath.empty()) {
        logFile = logPath == "-" ? stdout : std::fopen(logPath.c_str(), "w");
        if (!logFile) {
            std::fprintf(stderr, "fingulp-sim: cannot write log %s\n", logPath.c_str());
            return 2;
        }
        logTo(logFile);
    }
    while (exeDir.size() > 1 && exeDir.back() == '/') exeDir.pop_back();
    setExecutablePath(fromUtf8(exeDir + "/fingulp"));
    onStateRequest(describeState);

    const int code = programMain();
    std::printf("exit %d\n", code);
    std::fflush(stdout);
    if (logFile && logFile != stdout) std::fclose(logFile);
    return 0;
}

}  // namespace plat::headless
