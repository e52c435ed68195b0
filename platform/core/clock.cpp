// The clock and the blocking sleep, both handed to the back end (the headless
// handset keeps a virtual clock).
#include "platform/clock.h"

#include "platform/backend.h"

namespace plat {

uint64_t tickCount() { return backend::now(); }

void sleepMs(uint32_t milliseconds) { backend::sleep(milliseconds); }

}  // namespace plat
