// What the page's files (a .fgr opened, a backup restored) are checked with
// before anything is kept or the page restarts on them: the program's own
// replay reader, so the page refuses exactly what the program would.
#include "platform/web/web_replay_check.h"

#include <emscripten/emscripten.h>

#include <string>

#include "platform/replay.h"

extern "C" EMSCRIPTEN_KEEPALIVE const char* fingulp_replay_problem(const char* text) {
    static std::string why;
    why.clear();
    plat::replay::Replay replay;
    if (!text || !plat::replay::readReplay(text, replay, why)) {
        if (why.empty()) why = "no replay";
    }
    return why.c_str();
}
