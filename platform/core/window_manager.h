// The window manager's record, shared by the window manager, the input rules
// and the test-only reset (platform/testing): the one window class and
// window, the soft-key bar, the event queue, the timers, the screen and the
// keys held. The record itself lives in window_manager.cpp.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "platform/drawing.h"
#include "platform/windowing.h"

namespace plat {

struct Window {
    std::u16string className;
    std::u16string title;
    WindowProc procedure = nullptr;
    bool needsPaint = false;
    bool painting = false;
};

struct SoftKeyBar {
    Window* owner = nullptr;
    int32_t barId = 0;
    uint32_t leftCommand = 0;
    uint32_t rightCommand = 0;
    Rect place;
};

namespace detail {

struct WindowClass {
    std::u16string name;
    WindowProc procedure = nullptr;
    int32_t iconId = 0;
};

struct Timer {
    Window* window = nullptr;
    uint32_t id = 0;
    uint32_t period = 0;
    uint64_t due = 0;
    bool active = false;
};

constexpr int kMaxTimers = 8;

// A key held by one source, and what its key state reads meanwhile.
struct Hold {
    uint32_t keyCode = 0;
    uint16_t reading = kKeyHeld;
};

struct InputState {
    std::map<uint64_t, Hold> held;  // by source (platform/input.h)
    bool blocked = false;           // in a sleep or a waiting sound
    bool closeAsked = false;        // the close button has reached the program
    bool stickyArrows = false;      // an arrow's press holds it (setStickyArrows)
    uint32_t latched = 0;           // the arrow a press holds; 0: none
};

struct WindowManager {
    WindowClass windowClass;
    bool classRegistered = false;
    Window* window = nullptr;
    SoftKeyBar* bar = nullptr;
    std::deque<Event> queue;
    Timer timers[kMaxTimers];
    uint32_t fedSinceLook = 0;  // replayed inputs fed since the back end last looked for input
    bool quitRequested = false;
    int32_t exitCode = 0;
    Bitmap screenBitmap;
    Surface screen;
    InputState input;

    // What both the loop and the input rules do to the queue.
    void post(const Event& event) { queue.push_back(event); }
    void quit(int32_t code) {
        quitRequested = true;
        exitCode = code;
    }
};

// The one window manager, its screen made on first use.
WindowManager& wm();

}  // namespace detail
}  // namespace plat
