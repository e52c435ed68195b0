// The handset's window manager as the program sees it: one window class, one
// window with its procedure, the event queue and its loop, timers, painting,
// focus, the soft-key bar, the asynchronous key state, the message box and the
// single-instance marker. Back ends feed input into it (platform/backend.h).
#pragma once

#include <cstdint>

#include "platform/drawing.h"
#include "platform/types.h"

namespace plat {

struct Window;

using WindowProc = int32_t (*)(Window* window, uint32_t code, uint32_t param, uint32_t param2);

struct Event {
    Window* window = nullptr;
    uint32_t code = 0;
    uint32_t param = 0;
    uint32_t param2 = 0;
};

// Window class and window. `registerClass` fails (false) for an empty name or
// a null procedure. `createWindow` sends Create to the procedure and fails
// (null) when Create returns -1.
bool registerClass(const Char* className, WindowProc procedure, int32_t iconId);
Window* createWindow(const Char* className, const Char* title, int32_t width, int32_t height);
void destroyWindow(Window* window);  // sends Destroy
// Shows the window: it gains the focus (Focus gained is sent) and needs a paint.
void showWindow(Window* window);
// Sends Paint at once when the window needs painting.
void updateWindow(Window* window);
// Marks the whole window as needing a paint; the loop then delivers Paint.
void invalidateWindow(Window* window);
int32_t sendEvent(Window* window, uint32_t code, uint32_t param, uint32_t param2);
int32_t defaultWindowProc(Window* window, uint32_t code, uint32_t param, uint32_t param2);
Window* mainWindowOf();  // the one window created, or null

// The loop. `nextEvent` blocks until an event is due and returns false when
// it is the quit request. Posted events come first, then a pending paint,
// then due timers.
bool nextEvent(Event& event);
int32_t dispatchEvent(const Event& event);
void postEvent(Window* window, uint32_t code, uint32_t param, uint32_t param2);
void postQuit(int32_t exitCode);
int32_t quitCode();

// Timers post a Timer event with the timer's id at each period; at most one
// is pending per timer (ticks that fall due meanwhile are merged into it).
void startTimer(Window* window, uint32_t id, uint32_t periodMs);
void stopTimer(Window* window, uint32_t id);
void stopTimers(Window* window);  // every timer of the window

// Painting: the window's drawing surface is the screen (176 x 220, colour).
Surface* beginPaint(Window* window);
void endPaint(Window* window);
Surface* windowSurface(Window* window);
void releaseWindowSurface(Window* window, Surface* surface);
Surface* screenSurface();

// The shell's soft-key bar: two buttons carrying a command each. It is never
// drawn; back ends turn soft-key presses into its commands.
struct SoftKeyBar;
SoftKeyBar* createSoftKeyBar(Window* owner, int32_t barId, uint32_t leftCommand, uint32_t rightCommand);
SoftKeyBar* findSoftKeyBar(Window* owner);
void moveSoftKeyBar(SoftKeyBar* bar, int32_t x, int32_t y, int32_t width, int32_t height);
// The command the window's left or right soft key carries; 0 without a bar.
uint32_t softKeyCommand(Window* owner, bool left);

// The 16-bit asynchronous state of a key: 0xFFFF while it is held.
uint16_t asyncKeyState(uint32_t keyCode);

// Modal message box; returns when dismissed. Style 0x10 is the error icon.
constexpr uint32_t kMessageBoxError = 0x10;
void messageBox(Window* owner, const Char* text, const Char* caption, uint32_t style);

// The name of the edition the program runs in (desktop, web...), for About.
const Char* editionName();

// Single instance. `createInstanceMarker` reports whether the named marker
// already existed; the first instance keeps it until the process ends (one
// that found it existing holds nothing).
enum class MarkerResult { Created, AlreadyExisted, Failed };
MarkerResult createInstanceMarker(const Char* name);
// Another instance's window, found by class and exact title: 0 when none.
using ForeignWindow = uint64_t;
ForeignWindow findWindow(const Char* className, const Char* title);
// Asks that window to come to the front (its handle may carry the low bit set).
void bringToFront(ForeignWindow window);

// The desktop has asked the program to end (its close button, a signal), at
// any time, even before the window existed.
bool closeRequested();

}  // namespace plat
