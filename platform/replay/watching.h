// The watching record (inside platform/replay): the program's clock at the
// watcher's pace, what seeks jumped, a seek under way and what the watcher
// was last shown. watching.cpp runs it.
#pragma once

#include <cstdint>

#include "platform/replay.h"

namespace plat::replay::detail {

struct Watching {
    bool paced = false;     // a back end shows the replay in real time
    Pace pace;
    uint64_t skipped = 0;   // program milliseconds seeks jumped
    bool seeking = false;
    bool restart = false;   // the seek starts the watched game again first
    bool silence = false;   // the seek began: what sounds or shakes is to stop
    uint32_t target = 0;
    bool haveShown = false;
    Shown last;             // what the watcher was last shown
};

Watching& watching();

}  // namespace plat::replay::detail
