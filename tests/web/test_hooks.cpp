// What the web tests read from the program in the test page only: the same
// state line as the headless runner's `state`.
#include <emscripten/emscripten.h>

#include <string>

#include "testing/state_report.h"

extern "C" EMSCRIPTEN_KEEPALIVE const char* fingulp_test_state() {
    static std::string line;
    line = describeProgramState();
    return line.c_str();
}
