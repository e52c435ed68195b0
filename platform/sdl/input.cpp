// OS input reported to the handset layer (platform/input.h), which applies
// the handset's rules: keys (as the player bound them), F1/F2 and clicks, focus, exposure, the close
// button; and the desktop's own keys (F11, Alt+Enter, F12).
#include <cstdio>

#include "platform/input.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

// Tells the player where each shot went: the window gives no sign.
void takeScreenshot() {
    const int scale = currentScale() < 2 ? 2 : currentScale();
    const std::vector<std::string> paths = writeScreenshot(settingsFolder(), screenPixels(), scale);
    for (const std::string& path : paths) std::printf("fingulp: screenshot saved to %s\n", shownArgument(path.c_str()).c_str());
    std::fflush(stdout);
    if (paths.size() < 2) {
        std::fprintf(stderr, "fingulp: could not write %s in %s\n", paths.empty() ? "a screenshot" : "the enlarged screenshot",
                     shownArgument(settingsFolder().c_str()).c_str());
    }
}

// Tells the program once when the window is hidden or minimised, and once
// when it shows again. The window's state decides, not the event: making the
// window hides and shows it before the first pump.
bool hiddenChanged() {
    SDL_Window* window = desktopWindow();
    const bool hidden = window && (SDL_GetWindowFlags(window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) != 0;
    Input& input = backendData().input;
    if (hidden == input.hidden) return false;
    input.hidden = hidden;
    input::focus(!hidden);
    return true;
}

}  // namespace

bool handleKey(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers, bool down, bool repeat) {
    const KeyMeaning meaning = meaningOf(backendData().keys, scancode, keycode, modifiers);
    // Watching a replay: its own keys, and fullscreen; nothing reaches the program.
    if (backendData().watching) {
        if (down && meaning.role == KeyRole::Fullscreen && !repeat) toggleFullscreen();
        return down && handleWatchKey(keycode, repeat);
    }
    const input::Source source = kKeyboardSources + static_cast<uint64_t>(scancode);
    if (!down) {
        input::keyUp(source);
        return false;
    }
    switch (meaning.role) {
        case KeyRole::HandsetKey:
            return input::keyDown(source, meaning.code, repeat);
        case KeyRole::LeftSoftKey:
        case KeyRole::RightSoftKey:
            return input::softKey(meaning.role == KeyRole::LeftSoftKey, repeat);
        case KeyRole::Fullscreen:
            if (!repeat) toggleFullscreen();
            return false;
        case KeyRole::Screenshot:
            if (!repeat) takeScreenshot();
            return false;
        case KeyRole::None:
            return false;
    }
    return false;
}

bool handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // The close button, and SIGTERM, SIGINT and SIGHUP (end_signals.cpp):
            // the program saves as Exit does.
            return input::close();
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return handleKey(event.key.keysym.scancode, event.key.keysym.sym, event.key.keysym.mod,
                             event.type == SDL_KEYDOWN, event.key.repeat != 0);
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return false;
            return input::tap(event.button.x, event.button.y);
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    input::focus(event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED);
                    return true;
                // Minimised or hidden counts as the focus lost, whether or not
                // SDL saw the keyboard focus go (it may never have seen it
                // come back, when the game was resumed with the pointer);
                // shown or restored again as the focus gained.
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_HIDDEN:
                case SDL_WINDOWEVENT_RESTORED:
                case SDL_WINDOWEVENT_SHOWN:
                    markNeedsPresent();
                    return hiddenChanged();
                case SDL_WINDOWEVENT_EXPOSED:
                    markNeedsPresent();
                    input::exposed();
                    return true;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    windowResized();
                    markNeedsPresent();
                    return false;
                default:
                    return false;
            }
        default:
            if (event.type == raiseEventType()) {
                raiseWindow();
                return false;
            }
            return handleGamepadEvent(event);
    }
}

}  // namespace plat::sdl
