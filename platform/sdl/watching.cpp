// Watching a replay in the window: the program's clock runs at the chosen pace
// (1x to 8x) or stands still, the keys that set it, and the window title that
// says whether the replay plays, is paused or has ended.
#include <string>

#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

constexpr uint32_t kFastest = 8;

Watching& watching() { return backendData().watching; }

// Holds the program's clock where it stands, so the pace can change from here.
void rebase() {
    Watching& w = watching();
    w.clockAt = programClock();
    w.realAt = SDL_GetTicks64();
}

}  // namespace

void startWatching() {
    Watching& w = watching();
    w = Watching{};
    w.on = true;
    w.realAt = SDL_GetTicks64();
    w.clockAt = w.realAt;
}

uint64_t programClock() {
    const Watching& w = watching();
    if (!w.on) return SDL_GetTicks64();
    if (w.paused) return w.clockAt;
    return w.clockAt + (SDL_GetTicks64() - w.realAt) * w.speed;
}

int64_t realWaitMs(uint64_t programMs) {
    const Watching& w = watching();
    if (!w.on) return static_cast<int64_t>(programMs);
    if (w.paused) return -1;
    return static_cast<int64_t>((programMs + w.speed - 1) / w.speed);
}

bool handleWatchKey(SDL_Keycode key, bool repeat) {
    Watching& w = watching();
    switch (key) {
        case SDLK_SPACE:
            if (repeat) return true;
            rebase();
            w.paused = !w.paused;
            break;
        case SDLK_RIGHT:
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS:  // '+' on most keyboards without Shift
            rebase();
            if (w.speed < kFastest) w.speed *= 2;
            break;
        case SDLK_LEFT:
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            rebase();
            if (w.speed > 1) w.speed /= 2;
            break;
        case SDLK_ESCAPE:
            if (!repeat) feedClose();  // ends the program while a replay is watched
            return true;
        default:
            return false;
    }
    showWatchState();
    return true;
}

void showWatchState() {
    Watching& w = watching();
    SDL_Window* window = desktopWindow();
    if (!w.on || !window) return;
    const plat::replay::Watch state = plat::replay::watchState();
    const int shown = static_cast<int>(state) * 100 + (w.paused ? 50 : 0) + static_cast<int>(w.speed);
    if (shown == w.shown) return;
    w.shown = shown;
    std::string title = "FINGULP replay";
    if (state == plat::replay::Watch::Ended) {
        title += " - ended (Escape closes)";
    } else if (w.paused) {
        title += " - paused (Space plays)";
    } else {
        title += " - playing at " + std::to_string(w.speed) + "x";
    }
    SDL_SetWindowTitle(window, title.c_str());
}

}  // namespace plat::sdl
