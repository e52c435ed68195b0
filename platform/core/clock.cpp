// The clock and the blocking sleep, both handed to the back end (the headless
// handset keeps a virtual clock); while the sleep lasts the program is
// blocked, which the input rules heed. A seek skips sleeps.
#include "platform/clock.h"

#include "platform/backend.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "platform/replay/seeking.h"

namespace plat {

uint64_t tickCount() { return backend::now(); }

void sleepMs(uint32_t milliseconds) {
    const input::Blocked blocked;
    const uint64_t end = backend::now() + milliseconds;
    if (!replay::seeking()) backend::sleep(milliseconds);
    // While a seek runs (or once one starts during the sleep) the rest is skipped.
    const uint64_t now = backend::now();
    if (replay::seeking() && now < end) replay::seek::skip(end - now);
}

}  // namespace plat
