// Time on the handset: a monotonic millisecond clock and a blocking sleep.
// The headless handset runs both on a virtual clock.
#pragma once

#include <cstdint>

namespace plat {

uint64_t tickCount();          // milliseconds since the platform started
void sleepMs(uint32_t milliseconds);  // blocks the one thread

}  // namespace plat
