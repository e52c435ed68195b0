// The window manager: the one window class and window, the event queue with
// its coalesced paint and timers, the soft-key bar, the message box and the
// single-instance services (the last through the back end). Input comes in
// through platform/core/input.cpp.
#include "platform/windowing.h"

#include <algorithm>
#include <string>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/core/window_manager.h"
#include "platform/game_tick.h"
#include "platform/input.h"
#include "platform/replay/hooks.h"
#include "platform/replay/seeking.h"
#include "platform/sound.h"

namespace plat {

namespace {

using detail::Timer;
using detail::WindowManager;
using detail::wm;

Timer* findTimer(Window* window, uint32_t id) {
    for (Timer& t : wm().timers) {
        if (t.active && t.window == window && t.id == id) return &t;
    }
    return nullptr;
}

// Replayed inputs fed between two looks at the player's input: some
// milliseconds of work even where each redraws a whole screen.
constexpr uint32_t kFedBetweenLooks = 256;

// The polled keys the player's own hands hold (bit i for kPolledKeys[i]).
uint8_t polledKeysHeld() {
    uint8_t mask = 0;
    for (int i = 0; i < kPolledKeyCount; ++i) {
        if (input::liveKeyState(kPolledKeys[i]) == kKeyHeld) mask |= static_cast<uint8_t>(1u << i);
    }
    return mask;
}

}  // namespace

bool registerClass(const Char* className, WindowProc procedure, int32_t iconId) {
    if (!className || !*className || !procedure) return false;
    WindowManager& m = wm();
    if (m.classRegistered) return m.windowClass.name == className;
    m.windowClass = {className, procedure, iconId};
    m.classRegistered = true;
    return true;
}

Window* createWindow(const Char* className, const Char* title, int32_t width, int32_t height) {
    (void)width;
    (void)height;  // the handset's window always fills its 176 x 220 screen
    WindowManager& m = wm();
    if (!className || !m.classRegistered || m.windowClass.name != className || m.window) return nullptr;
    Window* window = new (std::nothrow) Window;
    if (!window) return nullptr;
    window->className = className;
    window->title = title ? title : u"";
    window->procedure = m.windowClass.procedure;
    m.window = window;
    if (window->procedure(window, kEventCreate, 0, 0) == -1) {
        m.window = nullptr;
        delete m.bar;
        m.bar = nullptr;
        delete window;
        return nullptr;
    }
    backend::windowCreated(window->title.c_str(), m.windowClass.iconId, &m.screenBitmap);
    // A window showing a replay is no player's copy: another start never finds it.
    if (!replay::hooks::liveInputHeldBack()) backend::publishWindow(window->className.c_str(), window->title.c_str());
    return window;
}

void destroyWindow(Window* window) {
    WindowManager& m = wm();
    if (!window || window != m.window) return;
    window->procedure(window, kEventDestroy, 0, 0);
    for (Timer& t : m.timers) {
        if (t.window == window) t.active = false;
    }
    delete m.bar;
    m.bar = nullptr;
    m.window = nullptr;
    backend::windowDestroyed();
    delete window;
}

void showWindow(Window* window) {
    if (!window) return;
    window->needsPaint = true;
    sendEvent(window, kEventFocusGained, 0, 0);
}

void updateWindow(Window* window) {
    if (window && window->needsPaint) sendEvent(window, kEventPaint, 0, 0);
}

void invalidateWindow(Window* window) {
    if (window) window->needsPaint = true;
}

int32_t sendEvent(Window* window, uint32_t code, uint32_t param, uint32_t param2) {
    if (!window || !window->procedure) return 0;
    return window->procedure(window, code, param, param2);
}

int32_t defaultWindowProc(Window* window, uint32_t code, uint32_t param, uint32_t param2) {
    (void)param;
    (void)param2;
    switch (code) {
        case kEventClose:
            destroyWindow(window);
            return 0;
        case kEventPaint:
            // Painting validates the window even when the program draws nothing.
            beginPaint(window);
            endPaint(window);
            return 0;
        default:
            return 0;
    }
}

bool nextEvent(Event& event) {
    WindowManager& m = wm();
    for (;;) {
        if (!m.queue.empty()) {
            event = m.queue.front();
            m.queue.pop_front();
            replay::hooks::delivered(event);
            return true;
        }
        if (m.quitRequested) {
            m.quitRequested = false;
            event = {nullptr, kEventQuit, static_cast<uint32_t>(m.exitCode), 0};
            return false;
        }
        if (m.window && m.window->needsPaint) {
            event = {m.window, kEventPaint, 0, 0};
            replay::hooks::delivered(event);
            return true;
        }
        const replay::hooks::FeedTarget target{m.window, softKeyCommand(m.window, true),
                                               softKeyCommand(m.window, false)};
        Event fed;
        switch (replay::hooks::idle(target, fed)) {
            case replay::hooks::Idle::Feed:
                if (fed.code == kEventPaint) {
                    invalidateWindow(fed.window);
                } else {
                    postEvent(fed.window, fed.code, fed.param, fed.param2);
                }
                // However many inputs a replay brings at one tick, the player's
                // own (Escape, the close button, an end signal) are looked at
                // between slices of them, without waiting.
                if (++m.fedSinceLook >= kFedBetweenLooks) {
                    m.fedSinceLook = 0;
                    backend::waitForInput(backend::now());
                }
                continue;
            case replay::hooks::Idle::StopTimers: stopTimers(m.window); continue;
            case replay::hooks::Idle::Wait: break;
        }
        const uint64_t now = backend::now();
        uint64_t deadline = backend::kNoDeadline;
        for (Timer& t : m.timers) {
            if (!t.active) continue;
            if (t.due <= now) {
                // One tick however many periods have passed: ticks are merged.
                t.due = now + t.period;
                event = {t.window, kEventTimer, t.id, 0};
                replay::hooks::tick(polledKeysHeld());
                return true;
            }
            if (t.due < deadline) deadline = t.due;
        }
        // A seek runs the watched game ahead: the clock jumps to the next timer.
        const replay::seek::Idle seek = replay::seek::idle(now, deadline);
        if (seek.silence) {
            playSound(nullptr, 0);
            stopVibration();
        }
        if (seek.restart) postEvent(m.window, kEventRestartWatched, 0, 0);
        if (seek.goOn) continue;
        if (seek.finished) backend::screenChanged();
        if (deadline == backend::kNoDeadline) replay::hooks::stalled();
        m.fedSinceLook = 0;
        backend::waitForInput(deadline);
    }
}

int32_t dispatchEvent(const Event& event) {
    if (!event.window) return 0;
    return sendEvent(event.window, event.code, event.param, event.param2);
}

void postEvent(Window* window, uint32_t code, uint32_t param, uint32_t param2) {
    wm().post({window, code, param, param2});
}

void postQuit(int32_t exitCode) { wm().quit(exitCode); }

int32_t quitCode() { return wm().exitCode; }

void startTimer(Window* window, uint32_t id, uint32_t periodMs) {
    if (!window) return;
    if (periodMs == 0) periodMs = 1;
    Timer* timer = findTimer(window, id);
    if (!timer) {
        for (Timer& t : wm().timers) {
            if (!t.active) {
                timer = &t;
                break;
            }
        }
    }
    if (!timer) return;
    *timer = {window, id, periodMs, backend::now() + periodMs, true};
    backend::timerChanged(id, periodMs);
}

void stopTimer(Window* window, uint32_t id) {
    if (Timer* timer = findTimer(window, id)) {
        timer->active = false;
        backend::timerChanged(id, 0);
    }
}

void stopTimers(Window* window) {
    for (Timer& t : wm().timers) {
        if (t.active && t.window == window) stopTimer(window, t.id);
    }
}

Surface* beginPaint(Window* window) {
    if (window) window->needsPaint = false;
    return &wm().screen;
}

void endPaint(Window* window) { (void)window; }

Surface* windowSurface(Window* window) {
    (void)window;
    return &wm().screen;
}

void releaseWindowSurface(Window* window, Surface* surface) {
    (void)window;
    (void)surface;
}

Surface* screenSurface() { return &wm().screen; }

SoftKeyBar* createSoftKeyBar(Window* owner, int32_t barId, uint32_t leftCommand, uint32_t rightCommand) {
    WindowManager& m = wm();
    if (!owner || m.bar) return nullptr;
    m.bar = new (std::nothrow) SoftKeyBar{owner, barId, leftCommand, rightCommand, {}};
    return m.bar;
}

SoftKeyBar* findSoftKeyBar(Window* owner) {
    WindowManager& m = wm();
    return (m.bar && m.bar->owner == owner) ? m.bar : nullptr;
}

void moveSoftKeyBar(SoftKeyBar* bar, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (bar) bar->place = {x, y, x + width, y + height};
}

uint32_t softKeyCommand(Window* owner, bool left) {
    const SoftKeyBar* bar = findSoftKeyBar(owner);
    return bar ? (left ? bar->leftCommand : bar->rightCommand) : 0;
}

void messageBox(Window* owner, const Char* text, const Char* caption, uint32_t style) {
    (void)owner;
    backend::messageBox(text ? text : u"", caption ? caption : u"", style);
    // Keys let go while the box was up never come.
    input::releaseAll();
}

MarkerResult createInstanceMarker(const Char* name) { return backend::createMarker(name); }

ForeignWindow findWindow(const Char* className, const Char* title) {
    return backend::findWindow(className, title);
}

void bringToFront(ForeignWindow window) { backend::bringToFront(window); }

const Char* editionName() { return backend::editionName(); }

}  // namespace plat
