// Watching a replay in the window: the program's clock runs at the chosen pace
// (1x to 8x) or stands still, the keys that set it, and the window title that
// says whether the replay plays, is paused or has ended.
#include <string>

#include "platform/input.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

using Change = plat::replay::Pace::Change;

Watching& watching() { return backendData().watching; }

}  // namespace

void startWatching() {
    Watching& w = watching();
    w = Watching{};
    w.on = true;
    w.pace.start(SDL_GetTicks64());
}

uint64_t programClock() {
    const Watching& w = watching();
    return w.on ? w.pace.clock(SDL_GetTicks64()) : SDL_GetTicks64();
}

int64_t realWaitMs(uint64_t programMs) {
    const Watching& w = watching();
    return w.on ? w.pace.realWait(programMs) : static_cast<int64_t>(programMs);
}

bool handleWatchKey(SDL_Keycode key, bool repeat) {
    Watching& w = watching();
    switch (key) {
        case SDLK_SPACE:
            if (!repeat) w.pace.change(Change::PauseOrPlay, SDL_GetTicks64());
            break;
        case SDLK_RIGHT:
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS:  // '+' on most keyboards without Shift
            w.pace.change(Change::Faster, SDL_GetTicks64());
            break;
        case SDLK_LEFT:
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            w.pace.change(Change::Slower, SDL_GetTicks64());
            break;
        case SDLK_ESCAPE:
            if (!repeat) plat::input::close();  // ends the program while a replay is watched
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
    const int shown = static_cast<int>(state) * 100 + (w.pace.paused ? 50 : 0) + static_cast<int>(w.pace.speed);
    if (shown == w.shown) return;
    w.shown = shown;
    std::string title = "FINGULP replay";
    if (state == plat::replay::Watch::Ended) {
        title += " - ended (Escape closes)";
    } else if (w.pace.paused) {
        title += " - paused (Space plays)";
    } else {
        title += " - playing at " + std::to_string(w.pace.speed) + "x";
    }
    SDL_SetWindowTitle(window, title.c_str());
}

}  // namespace plat::sdl
