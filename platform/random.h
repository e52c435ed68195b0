// The program's own random generator: the classic C-runtime linear
// congruential generator, identical on every platform and never seeded from
// the clock, so a game is the same on every run.
#pragma once

#include <cstdint>

namespace plat {

int32_t rand();                 // 0..32767
void seedRandom(uint32_t seed);  // state 1 at start; set to go on from a known state
uint32_t randomState();          // what seedRandom would take to go on from here

}  // namespace plat
