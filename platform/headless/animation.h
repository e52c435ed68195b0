// A run's screen as an animated WebP at 20 frames a second (internal to
// platform/headless): frames are taken as the virtual clock passes each 50 ms
// and handed to libwebp's animation encoder, which keeps only what changed.
#pragma once

#include <cstdint>
#include <string>

namespace plat::headless {

// Starts taking frames from the current virtual time.
bool startAnimation(const std::string& path);
// The clock moves from `from` to `to`: the screen as it stands was shown
// throughout.
void animateUntil(uint64_t from, uint64_t to);
// Writes the file; false with a reason when it cannot.
bool finishAnimation(std::string& error);

}  // namespace plat::headless
