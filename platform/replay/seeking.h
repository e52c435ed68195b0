// Seeking as the handset layer sees it (inside platform): the event loop's
// idle moment and the sleeps, where a seek jumps the program's clock instead
// of waiting (watching.cpp).
#pragma once

#include <cstdint>

namespace plat::replay::seek {

// The loop is idle at `now` until `deadline` (the program's clock, or
// backend::kNoDeadline). True when a seek goes on instead of waiting: the
// clock jumped to the deadline, or the watched game was asked to start again.
// False: wait; `finished` says a seek ended here (the screen is to be shown).
bool idle(uint64_t now, uint64_t deadline, bool& finished);
// The program's clock jumps `ms` ahead: a sleep skipped while seeking.
void skip(uint64_t ms);

}  // namespace plat::replay::seek
