// Watching a replay in the window: the keys that pause it, set its pace (1x
// to 8x) and seek in it, and the window title that says where it is, how
// fast it plays, and where it departs from this program's game. The clock
// itself is the replay room's (platform/replay.h).
#include <string>

#include "platform/input.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

using Change = plat::replay::Pace::Change;

// Left and Right seek this far.
constexpr uint32_t kSeekStepTicks = 5000 / plat::replay::kTickMs;

void seekBy(int64_t ticks) {
    const int64_t to = static_cast<int64_t>(plat::replay::watchedTicks()) + ticks;
    plat::replay::seekTo(to < 0 ? 0 : static_cast<uint32_t>(to));
}

}  // namespace

uint64_t programClock() { return plat::replay::programClock(SDL_GetTicks64()); }

int64_t realWaitMs(uint64_t programMs) { return plat::replay::backEndWait(programMs); }

bool handleWatchKey(SDL_Keycode key, bool repeat) {
    const uint64_t real = SDL_GetTicks64();
    switch (key) {
        case SDLK_SPACE:
            if (!repeat) plat::replay::changePace(Change::PauseOrPlay, real);
            break;
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS:  // '+' on most keyboards without Shift
            plat::replay::changePace(Change::Faster, real);
            break;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            plat::replay::changePace(Change::Slower, real);
            break;
        case SDLK_LEFT: seekBy(-static_cast<int64_t>(kSeekStepTicks)); break;
        case SDLK_RIGHT: seekBy(kSeekStepTicks); break;
        case SDLK_HOME: plat::replay::seekTo(0); break;
        case SDLK_END: plat::replay::seekTo(plat::replay::kMaxTicks); break;
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
    SDL_Window* window = desktopWindow();
    if (!window || !plat::replay::shownChanged()) return;
    const std::string title = plat::replay::shownTitle(plat::replay::shown());
    if (title != SDL_GetWindowTitle(window)) SDL_SetWindowTitle(window, title.c_str());
}

}  // namespace plat::sdl
