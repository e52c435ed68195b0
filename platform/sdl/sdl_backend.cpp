// The desktop handset on SDL2: the back end that players run.
//
// What it supports:
//  [x] A resizable window titled from the program, with its icon; the
//      176 x 220 screen at an integer scale (3x, less when the desktop is
//      smaller), crisp pixels, letterboxed; F11 and Alt+Enter for fullscreen.
//  [x] Presentation only when the screen changed (or the desktop lost it),
//      whenever the program waits.
//  [x] Waits that block in the OS until the next event or timer; sleeps that
//      keep collecting input for afterwards.
//  [x] Keyboard: arrows, Enter/keypad Enter, top-row and keypad digits;
//      F1, Escape, Backspace and clicks on the left caption as the left soft
//      key (BACK or MENU), F2 and the right caption as the right one; other
//      keys as handset key codes, each reported with its auto-repeat and
//      key-up to the handset layer's input rules. The handset's Back key,
//      which the program swallows, has no key.
//  [x] Game controllers with hot-plugging: d-pad and left stick, A; B and
//      Back/Select as the left soft key, Start as the right; rumble as the
//      vibrator.
//  [x] Wave sounds through SDL audio, one at a time; silence when there is
//      no audio device (a blocking sound still lasts its length).
//  [x] Focus, exposure and the close button reach the program; SIGTERM,
//      SIGINT and SIGHUP are the close button, cutting waits short.
//  [x] Error message boxes; single instance per user and display: a lock in
//      the user's private runtime folder, and a socket beside it that
//      carries the raise request.
//  [x] config.ini beside the executable, or in the user's data folder for an
//      installed copy or a read-only folder; F12 screenshots beside it.
//  [x] Every game kept as a replay file; a replay watched at its real pace
//      (Space pauses, + and - set 1x..8x, Left/Right seek 5 s, Home/End go
//      to the start and end, Escape ends; the title shows the time), with
//      nothing of the player's read or written.
//  [ ] Touch input other than taps on the captions; high-DPI scaling.
//
// Everything it holds is in one record, BackendData (sdl_internal.h), reached
// through backendData().
#include <cstdio>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/replay.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {

BackendData& backendData() {
    static BackendData& data = *new BackendData;
    return data;
}

int startDesktop() {
    // The window's class names the desktop entry, so that docks match the
    // window to it whatever the executable is called (StartupWMClass on X11,
    // the entry's id as the Wayland app id). A value the player set wins.
    setenv("SDL_VIDEO_X11_WMCLASS", "fingulp", 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", "io.github.fingulp.Fingulp", 0);
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");  // ours cover SIGHUP too
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "fingulp: cannot open a window: %s\n", SDL_GetError());
        return 1;
    }
    watchEndSignals();
    SDL_StopTextInput();  // the game reads keys, never text
    backendData().input.hidden = false;
    backendData().input.endSignalled = false;
    startGamepads();
    raiseEventType();
    // Every game played is kept as a replay file; a replay to watch plays at
    // its own pace.
    plat::replay::recordGames(plat::replay::Edition::Desktop, keepReplay);
    backendData().watching = plat::replay::watchState() != plat::replay::Watch::None;
    plat::replay::paceInRealTime(SDL_GetTicks64());
    // Watching reads nothing of the player's.
    if (!backendData().watching) loadKeys();
    return 0;
}

void stopDesktop() {
    stopInstanceChannel();
    closeAudio();
    stopGamepads();
    destroyDesktopWindow();
    SDL_Quit();
}

}  // namespace plat::sdl

namespace plat::backend {

using namespace plat::sdl;

uint64_t now() { return programClock(); }

// Once a signal has asked the program to end, sleeps and waited sounds end at
// once and message boxes go to the terminal: the program saves and ends
// without keeping a logout waiting.
void sleep(uint32_t milliseconds) {
    present();
    const uint64_t deadline = now() + milliseconds;
    // A seek started meanwhile skips the rest (platform/core/clock.cpp).
    while (now() < deadline && !ending() && !plat::replay::seeking()) {
        waitEvents(deadline);
        present();
        showWatchState();
    }
}

void waitForInput(uint64_t deadline) {
    for (;;) {
        present();
        showWatchState();
        if (waitEvents(deadline) || now() >= deadline) break;
    }
    present();
}

void windowCreated(const Char* title, int32_t iconId, const Bitmap* screen) {
    if (!createDesktopWindow(title, iconId, screen ? screen->pixels.data() : nullptr)) {
        std::fprintf(stderr, "fingulp: cannot create the window: %s\n", SDL_GetError());
    }
}

void screenChanged() { markScreenChanged(); }

void windowDestroyed() { destroyDesktopWindow(); }

void timerChanged(uint32_t id, uint32_t periodMs) {
    (void)id;
    (void)periodMs;
}

void startSound(const Char*, const Wave& wave, bool) { playSamples(wave); }

void stopSound() { plat::sdl::stopSound(); }

void startVibration() { rumbleGamepads(true); }

void stopVibration() { rumbleGamepads(false); }

void messageBox(const Char* text, const Char* caption, uint32_t style) {
    present();
    const uint32_t flags = (style & 0x10) ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    const std::string message = toUtf8(text);
    if (ending() || SDL_ShowSimpleMessageBox(flags, toUtf8(caption).c_str(), message.c_str(), desktopWindow()) != 0) {
        // No message box on this desktop (no display server, say): the player
        // still learns of it on the terminal.
        std::fprintf(stderr, "fingulp: %s\n", message.c_str());
    }
}

const Char* editionName() { return u"FINGULP desktop"; }

std::u16string executablePath() { return plat::fromUtf8(programPath()); }

// Files live on the real file system: nothing to copy anywhere.
void fileWritten(const std::u16string&) {}

MarkerResult createMarker(const Char* name) { return plat::sdl::createMarker(name); }

void publishWindow(const Char* className, const Char* title) { plat::sdl::publishWindow(className, title); }

uint64_t findWindow(const Char* className, const Char* title) { return plat::sdl::findWindow(className, title); }

void bringToFront(uint64_t window) { plat::sdl::bringToFront(window); }

}  // namespace plat::backend
