// The classic C-runtime generator: state = state * 214013 + 2531011 (mod 2^32),
// result = bits 16..30 of the state.
#include "platform/random.h"

namespace plat {
namespace {
uint32_t state = 1;
}

int32_t rand() {
    state = state * 214013u + 2531011u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF);
}

void seedRandom(uint32_t seed) { state = seed; }

uint32_t randomState() { return state; }

}  // namespace plat
