// The clock and the blocking sleep, both handed to the back end (the headless
// handset keeps a virtual clock); while the sleep lasts the program is
// blocked, which the input rules heed.
#include "platform/clock.h"

#include "platform/backend.h"
#include "platform/input.h"

namespace plat {

uint64_t tickCount() { return backend::now(); }

void sleepMs(uint32_t milliseconds) {
    const input::Blocked blocked;
    backend::sleep(milliseconds);
}

}  // namespace plat
