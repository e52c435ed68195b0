// The handset's input rules (platform/input.h): the keys held by each source,
// which presses and repeats reach the program, sticky arrows, the caption band's soft keys,
// focus, exposure, the close button and a save; and the one place every input passes
// on its way to the program. It posts straight into the window manager's
// record, so the loop (windowing.cpp) may call in here without a circle.
#include "platform/input.h"

#include "platform/core/window_manager.h"
#include "platform/replay/hooks.h"
#include "platform/windowing.h"

namespace plat {
namespace {

using detail::wm;

detail::InputState& state() { return wm().input; }

// The one way in for the player's input: every event posted here (or, for an
// exposure, the window marked for a paint). The replay hooks see it as the
// queue hands it over (windowing.cpp).
void deliver(uint32_t code, uint32_t param) {
    // While a replay is watched, the player's own input never reaches the
    // program (the replay's does, from the queue); the close button still
    // ends it.
    if (replay::hooks::liveInputHeldBack()) {
        if (code == kEventClose) wm().quit(0);
        return;
    }
    Window* window = wm().window;
    if (!window) return;
    if (code == kEventPaint) {
        window->needsPaint = true;
    } else {
        wm().post({window, code, param, 0});
    }
}

bool isArrow(uint32_t keyCode) {
    return keyCode == kKeyLeft || keyCode == kKeyUp || keyCode == kKeyRight || keyCode == kKeyDown;
}

bool pressWaiting(uint32_t keyCode) {
    for (const Event& e : wm().queue) {
        if (e.code == kEventKeyDown && e.param == keyCode) return true;
    }
    return false;
}

}  // namespace

uint16_t input::liveKeyState(uint32_t keyCode) {
    uint16_t reading = state().latched == keyCode ? kKeyHeld : 0;
    for (const auto& [source, hold] : state().held) {
        if (hold.keyCode == keyCode) reading |= hold.reading;
    }
    return reading;
}

// The other way in: the program reads the held keys only here (a watched
// replay answers for the player).
uint16_t asyncKeyState(uint32_t keyCode) { return replay::hooks::keyRead(keyCode, input::liveKeyState(keyCode)); }

bool closeRequested() { return state().closeAsked; }

namespace input {

bool keyDown(Source source, uint32_t keyCode, bool repeat) {
    state().held[source] = {keyCode, kKeyHeld};
    if (state().stickyArrows && !repeat && isArrow(keyCode)) {
        state().latched = state().latched == keyCode ? 0 : keyCode;
    }
    // Auto-repeat never queues ahead of the program: a key click blocks it
    // for about 150 ms, and repeats piled up meanwhile would carry the cursor
    // on after the key is let go.
    if (repeat && (state().blocked || pressWaiting(keyCode))) return false;
    deliver(kEventKeyDown, keyCode);
    return wm().window != nullptr;
}

void keyUp(Source source) { state().held.erase(source); }

void releaseSources(Source first, Source last) {
    auto& held = state().held;
    held.erase(held.lower_bound(first), held.upper_bound(last));
}

bool softKey(bool left, bool repeat) {
    const SoftKeyBar* bar = wm().bar;
    if (repeat || !bar || !wm().window) return false;
    deliver(kEventCommand, left ? bar->leftCommand : bar->rightCommand);
    return true;
}

bool tap(int32_t x, int32_t y) {
    if (y < kCaptionTop || y >= kScreenHeight || x < 0 || x >= kScreenWidth) return false;
    softKey(x < kCaptionSplit);
    return true;
}

void focus(bool gained) {
    if (!gained) releaseAll();
    deliver(gained ? kEventFocusGained : kEventFocusLost, 0);
}

void releaseAll() {
    state().held.clear();
    state().latched = 0;
}

void setStickyArrows(bool on) {
    state().stickyArrows = on;
    if (!on) state().latched = 0;
}

void exposed() { deliver(kEventPaint, 0); }

bool close() {
    // A second click while the first is still queued asks nothing more; one
    // before the window exists ends that start (closeRequested).
    if (state().closeAsked) return false;
    state().closeAsked = true;
    deliver(kEventClose, 0);
    return wm().window != nullptr;
}

void save() { deliver(kEventSave, 0); }

Blocked::Blocked() : wasBlocked(state().blocked) { state().blocked = true; }

Blocked::~Blocked() { state().blocked = wasBlocked; }

}  // namespace input
}  // namespace plat
