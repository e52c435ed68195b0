// OS input turned into the handset's: keys (held-key table and key-down
// events), the soft keys from F1/F2 and clicks on the caption boxes, focus,
// exposure, the close button, and the desktop's own keys (F11, Alt+Enter, F12).
#include <cstdio>

#include "platform/backend.h"
#include "platform/sdl/keymap.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

HeldKeys& held() { return backendData().input.held; }

// The soft-key captions sit in the band at the foot of the screen, the left
// one up to x 88 and the right one from there.
constexpr int32_t kCaptionTop = 198;
constexpr int32_t kCaptionSplit = 88;

// Tells the player where each shot went: the window gives no sign.
void takeScreenshot() {
    const int scale = currentScale() < 2 ? 2 : currentScale();
    const std::vector<std::string> paths = writeScreenshot(settingsFolder(), screenPixels(), scale);
    for (const std::string& path : paths) std::printf("fingulp: screenshot saved to %s\n", path.c_str());
    std::fflush(stdout);
    if (paths.size() < 2) {
        std::fprintf(stderr, "fingulp: could not write %s in %s\n", paths.empty() ? "a screenshot" : "the enlarged screenshot",
                     settingsFolder().c_str());
    }
}

void loseFocus() {
    // Keys released while another window has the keyboard never come.
    releaseAllKeys();
    feedFocus(false);
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
    if (hidden) {
        loseFocus();
    } else {
        feedFocus(true);
    }
    return true;
}

}  // namespace

bool handleKey(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers, bool down, bool repeat) {
    const KeyMeaning meaning = meaningOf(scancode, keycode, modifiers);
    // Watching a replay: its own keys, and fullscreen; nothing reaches the program.
    if (backendData().watching.on) {
        if (down && meaning.role == KeyRole::Fullscreen && !repeat) toggleFullscreen();
        return down && handleWatchKey(keycode, repeat);
    }
    const uint64_t source = kKeyboardSources + static_cast<uint64_t>(scancode);
    if (!down) {
        held().release(source);
        return false;
    }
    switch (meaning.role) {
        case KeyRole::HandsetKey:
            held().press(source, meaning.code);
            // Auto-repeat reaches the program as further key presses, as on
            // the handset, but never queues ahead of it: while the program is
            // busy (a key click blocks for about 150 ms) or an earlier press
            // still waits, a repeat is dropped, so that the cursor stops when
            // the key is let go. A first press is never dropped.
            if (repeat && (backendData().input.programBusy || keyDownWaiting(meaning.code))) return false;
            feedKeyDown(meaning.code);
            return true;
        case KeyRole::LeftSoftKey:
        case KeyRole::RightSoftKey:
            if (repeat) return false;
            feedSoftKey(meaning.role == KeyRole::LeftSoftKey);
            return true;
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

bool handleClick(int32_t x, int32_t y) {
    if (y < kCaptionTop || y >= kScreenHeight || x < 0 || x >= kScreenWidth) return false;
    feedSoftKey(x < kCaptionSplit);
    return true;
}

uint16_t heldKeyState(uint32_t keyCode) { return held().isHeld(keyCode) ? kKeyHeld : 0; }

void releaseAllKeys() { held().bySource.clear(); }

bool handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            // The close button (and a terminal's Ctrl+C): the program saves as
            // Exit does. One request is enough; it is handled in order.
            if (backendData().input.closeFed) return false;
            backendData().input.closeFed = true;
            feedClose();
            return true;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return handleKey(event.key.keysym.scancode, event.key.keysym.sym, event.key.keysym.mod,
                             event.type == SDL_KEYDOWN, event.key.repeat != 0);
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button != SDL_BUTTON_LEFT) return false;
            return handleClick(event.button.x, event.button.y);
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                    feedFocus(true);
                    return true;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    loseFocus();
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
                    feedPaint();
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
