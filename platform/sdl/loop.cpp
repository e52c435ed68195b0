// The event pump: OS events handled as they come, and the blocking wait in the
// OS until the next event or deadline.
#include <climits>

#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

// With a controller connected the pump reads it at this pace; without one it
// still looks for a newly plugged controller now and then.
constexpr uint64_t kGamepadPollMs = 8;
constexpr uint64_t kHotplugPollMs = 500;

}  // namespace

uint32_t raiseEventType() {
    uint32_t& raiseType = backendData().input.raiseType;
    if (raiseType == 0) {
        const uint32_t type = SDL_RegisterEvents(1);
        raiseType = type == static_cast<uint32_t>(-1) ? static_cast<uint32_t>(SDL_LASTEVENT) : type;
    }
    return raiseType;
}

bool pumpEvents() {
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_GameControllerUpdate();
    bool fed = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) fed = handleEvent(event) || fed;
    return fed;
}

bool waitEvents(uint64_t deadline) {
    bool fed = pumpEvents();
    if (fed) return true;
    const uint64_t now = backend::now();
    if (now >= deadline) return false;
    uint64_t wakeAt = deadline;
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) {
        const uint64_t poll = now + (gamepadConnected() ? kGamepadPollMs : kHotplugPollMs);
        if (poll < wakeAt) wakeAt = poll;
    }
    int timeout = -1;
    if (wakeAt != backend::kNoDeadline) {
        // A span of the program's clock, which may run faster than the real one or stand still.
        const int64_t span = realWaitMs(wakeAt > now ? wakeAt - now : 0);
        timeout = span < 0 ? -1 : span > INT_MAX ? INT_MAX : static_cast<int>(span);
        if (timeout == 0) timeout = 1;
    }
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeout)) fed = handleEvent(event);
    return pumpEvents() || fed;
}

}  // namespace plat::sdl
