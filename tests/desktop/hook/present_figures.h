// How often the window was presented and raised, and what presenting cost: counted
// around SDL's own calls (the linker's --wrap), so the player's program carries none of it.
#pragma once

#include <cstdint>
#include <string>

namespace desktop_hook {

struct PresentFigures {
    uint64_t presents = 0;
    uint64_t nanoseconds = 0;       // uploads and presents, all but the first present's
    uint64_t firstNanoseconds = 0;  // the first sets up the renderer's machinery
    uint64_t raises = 0;            // raise requests from a second start
    std::string renderer;           // empty until the first present
};

PresentFigures presentFigures();

}  // namespace desktop_hook
