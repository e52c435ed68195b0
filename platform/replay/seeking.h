// Seeking as the handset layer sees it (inside platform): the event loop's
// idle moment and the sleeps, where a seek jumps the program's clock instead
// of waiting (watching.cpp).
#pragma once

#include <cstdint>

namespace plat::replay::seek {

// What the loop does for a seek at an idle moment.
struct Idle {
    bool silence = false;   // a seek began: stop what sounds or shakes
    bool restart = false;   // post kEventRestartWatched: the watched game starts again
    bool goOn = false;      // do not wait: the clock jumped to the deadline
    bool finished = false;  // the seek ended here: the screen is to be shown
};
// The loop is idle at `now` until `deadline` (the program's clock, or
// backend::kNoDeadline).
Idle idle(uint64_t now, uint64_t deadline);
// The program's clock jumps `ms` ahead: a sleep skipped while seeking.
void skip(uint64_t ms);

}  // namespace plat::replay::seek
