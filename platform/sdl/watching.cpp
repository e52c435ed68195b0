// Watching a replay in the window: the program's clock runs at the chosen pace
// (1x to 8x) or stands still, the keys that set it, and the window title that
// says whether the replay plays, is paused or has ended.
#include <string>

#include "platform/input.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

using Change = plat::replay::Pace::Change;

plat::replay::WatchClock& watching() { return backendData().watching; }

}  // namespace

uint64_t programClock() { return watching().now(SDL_GetTicks64()); }

int64_t realWaitMs(uint64_t programMs) { return watching().realWait(programMs); }

bool handleWatchKey(SDL_Keycode key, bool repeat) {
    plat::replay::WatchClock& w = watching();
    switch (key) {
        case SDLK_SPACE:
            if (!repeat) w.change(Change::PauseOrPlay, SDL_GetTicks64());
            break;
        case SDLK_RIGHT:
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS:  // '+' on most keyboards without Shift
            w.change(Change::Faster, SDL_GetTicks64());
            break;
        case SDLK_LEFT:
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            w.change(Change::Slower, SDL_GetTicks64());
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
    plat::replay::WatchClock& w = watching();
    SDL_Window* window = desktopWindow();
    if (!window || !w.shownChanged()) return;
    const plat::replay::Watch state = plat::replay::watchState();
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
