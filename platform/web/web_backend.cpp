// The web handset: the program compiled to WebAssembly in a page, with its
// JavaScript half in web_library.js.
//
// What it supports:
//  [x] The 176 x 220 screen in a canvas at a whole number of device pixels,
//      presented whenever the program waits and the screen changed.
//  [x] Waits, sleeps and blocking sounds that suspend the program (ASYNCIFY)
//      through one import; input arriving meanwhile is queued in order.
//  [x] Keyboard: arrows, Enter, digits, letters; F1/F2 and taps or clicks on
//      the caption boxes as the soft keys, Escape/Backspace as the left one;
//      touch keys under the screen on touch screens; each reported to the
//      handset layer with its auto-repeat, key-up, a cancelled pointer, the
//      window's blur and the page hidden.
//  [x] Wave sounds through Web Audio, one at a time, each made once from the
//      samples the handset layer read; before the first key or touch allows
//      sound, it is skipped (the handset layer still waits its length). The
//      audio context exists only once a sound plays and is suspended when
//      none has for a second.
//  [x] The vibrator through the browser's vibration call, where there is one.
//  [x] config.ini in the in-memory file system, mirrored whole into local
//      storage whenever the program writes it and put back before it starts.
//  [x] One running copy across tabs (a Web Lock as the marker, the window
//      found over a BroadcastChannel); the page hidden is focus lost; a page
//      closed while the program reads input saves as the close button does,
//      and one hidden saves too (phones kill hidden pages without a word).
//  [x] Message boxes as the browser's alert.
//  [x] Replays: every game kept in local storage (the best and the last),
//      a replay watched from the link's fragment at the pace the page's
//      controls set, shared as a link.
//  [x] Gamepads (the browser's standard mapping) as on the desktop.
//  [x] The player's keys and buttons, touch keys' size and side, and sticky
//      arrows, set in the page's Keys panel (web_controls.js).
//  [x] Storage the browser refuses: one line on the page, the game plays on.
//  [ ] Screenshots.
#include <emscripten/emscripten.h>

#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/backend.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "platform/sound.h"
#include "platform/text_encoding.h"
#include "platform/web/web.h"

namespace plat::web {
namespace {

constexpr char kFolder[] = "/fingulp";
constexpr char16_t kExecutable[] = u"/fingulp/fingulp";
// How long the browser may take over the lock (it always answers, at once
// unless the page is starved), and how long another tab has to say it is there.
constexpr uint64_t kMarkerAnswerWaitMs = 5000;
constexpr uint64_t kWindowAnswerWaitMs = 400;

struct WebHandset {
    const Bitmap* screen = nullptr;
    bool screenChanged = false;
    std::vector<uint32_t> rgba;  // the screen as the canvas takes it
};

WebHandset& handset() {
    static WebHandset h;
    return h;
}

void present() {
    WebHandset& h = handset();
    if (!h.screen || !h.screenChanged) return;
    h.screenChanged = false;
    const std::vector<uint32_t>& pixels = h.screen->pixels;
    h.rgba.resize(pixels.size());
    // 0x00BBGGRR is R, G, B, 0 in memory: only the alpha byte is missing.
    for (size_t i = 0; i < pixels.size(); ++i) h.rgba[i] = pixels[i] | 0xFF000000u;
    fingulp_present(reinterpret_cast<const uint8_t*>(h.rgba.data()), h.screen->width, h.screen->height);
}

// Tells the page what the watched replay does, when that changed.
void showWatchState() {
    if (!plat::replay::shownChanged()) return;
    const plat::replay::Shown s = plat::replay::shown();
    fingulp_watch_shown(static_cast<int>(s.state), s.paused ? 1 : 0, static_cast<int>(s.speed),
                        static_cast<double>(s.elapsedMs), static_cast<double>(s.totalMs),
                        static_cast<double>(s.departureMs));
}

// The deadline is on the program's clock; the page's alarms run on the real one.
void suspendUntil(uint64_t deadline, FingulpSuspension why) {
    present();
    showWatchState();
    double real = -1.0;
    if (deadline != backend::kNoDeadline) {
        const uint64_t now = backend::now();
        const int64_t wait = plat::replay::backEndWait(deadline > now ? deadline - now : 0);
        real = wait < 0 ? -1.0 : fingulp_now() + static_cast<double>(wait);
    }
    fingulp_suspend(real, why);
}

void keepReplay(const plat::replay::Replay& replay) {
    fingulp_keep_replay(plat::replay::toText(plat::replay::encode(replay)).c_str(), replay.outcome.fishEaten);
}

// A link holding a replay: the program watches it; anything else plays, and
// every game is kept.
void takeReplayFromLink() {
    const std::string prefix(plat::replay::kLinkName);
    if (char* fragment = fingulp_replay_fragment(prefix.c_str())) {
        std::string error;
        if (!plat::replay::watchFrom(fragment, error)) {
            // The reason as a sentence of its own.
            if (!error.empty()) error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(error[0])));
            fingulp_replay_refused((error + ".").c_str());
        }
        std::free(fragment);
    }
    plat::replay::recordGames(plat::replay::Edition::Web, keepReplay);
    plat::replay::paceInRealTime(static_cast<uint64_t>(fingulp_now()));
}

// Waits (blocking, input queued) up to `limitMs` for the browser's answer to
// the question asked.
int awaitAnswer(uint64_t limitMs) {
    const uint64_t limit = backend::now() + limitMs;
    int answer = fingulp_answer();
    while (answer < 0 && backend::now() < limit) {
        suspendUntil(limit, kFingulpAsking);
        answer = fingulp_answer();
    }
    return answer;
}

std::string windowKey(const Char* className, const Char* title) {
    return toUtf8(className ? className : u"") + "\t" + toUtf8(title ? title : u"");
}

}  // namespace

void startPage() {
    fingulp_page_start(kFolder);
    takeReplayFromLink();
}

void endPage() { fingulp_page_end(); }

}  // namespace plat::web

// What the page's JavaScript reports of the player's input (platform/input.h),
// before it wakes the program. Keyboard keys and touch keys are numbered
// sources; a tap is at a screen pixel.
extern "C" {
EMSCRIPTEN_KEEPALIVE int fingulp_key_down(uint32_t source, uint32_t keyCode, int repeat) {
    return plat::input::keyDown(source, keyCode, repeat != 0);
}
EMSCRIPTEN_KEEPALIVE void fingulp_key_up(uint32_t source) { plat::input::keyUp(source); }
EMSCRIPTEN_KEEPALIVE void fingulp_release_keys() { plat::input::releaseAll(); }
EMSCRIPTEN_KEEPALIVE int fingulp_soft_key(int left, int repeat) { return plat::input::softKey(left != 0, repeat != 0); }
EMSCRIPTEN_KEEPALIVE int fingulp_tap(int32_t x, int32_t y) { return plat::input::tap(x, y); }
EMSCRIPTEN_KEEPALIVE void fingulp_feed_focus(int gained) { plat::input::focus(gained != 0); }
EMSCRIPTEN_KEEPALIVE void fingulp_feed_close() { plat::input::close(); }
EMSCRIPTEN_KEEPALIVE void fingulp_feed_save() { plat::input::save(); }
// Whether a game is being played (and recorded): leaving the page ends it.
EMSCRIPTEN_KEEPALIVE int fingulp_game_in_progress() { return plat::replay::recording() ? 1 : 0; }
// The page's "Arrows that need not be held" switch (web_controls.js).
EMSCRIPTEN_KEEPALIVE void fingulp_set_sticky_arrows(int on) { plat::input::setStickyArrows(on != 0); }
// The page's replay controls: 0 pause or play, 1 faster, 2 slower.
EMSCRIPTEN_KEEPALIVE void fingulp_watch_control(int change) {
    if (change < 0 || change > 2) return;
    plat::replay::changePace(static_cast<plat::replay::Pace::Change>(change), static_cast<uint64_t>(fingulp_now()));
}
// The page's seek bar and keys: the watched game's time in milliseconds from
// its start (its ticks times plat::replay::kTickMs); the page wakes the program after.
EMSCRIPTEN_KEEPALIVE void fingulp_watch_seek(double ms) {
    const double tick = ms / plat::replay::kTickMs;
    plat::replay::seekTo(!(tick > 0) ? 0 : tick >= plat::replay::kMaxTicks ? plat::replay::kMaxTicks
                                                                            : static_cast<uint32_t>(tick + 0.5));
}
}

namespace plat::backend {

using plat::web::handset;

uint64_t now() {
    return plat::replay::programClock(static_cast<uint64_t>(fingulp_now()));
}

void sleep(uint32_t milliseconds) {
    const uint64_t deadline = now() + milliseconds;
    // A seek started meanwhile skips the rest (platform/core/clock.cpp).
    while (now() < deadline && !plat::replay::seeking()) plat::web::suspendUntil(deadline, kFingulpBlocked);
    plat::web::present();
}

void waitForInput(uint64_t deadline) {
    // Even a deadline already reached yields: the browser has input only
    // once it has had its turn.
    plat::web::suspendUntil(deadline, kFingulpReadingInput);
    plat::web::present();
}

// The page has its own title and icons.
void windowCreated(const Char*, int32_t, const Bitmap* screen) {
    handset().screen = screen;
    handset().screenChanged = true;
}

void screenChanged() { handset().screenChanged = true; }

void windowDestroyed() { handset().screen = nullptr; }

void timerChanged(uint32_t, uint32_t) {}

void startSound(const Char*, const Wave& wave, bool) {
    fingulp_play_sound(wave.samples, wave.bytes, wave.channels, wave.rate, wave.bits);
}

void stopSound() { fingulp_stop_sound(); }

void startVibration() { fingulp_vibrate(1); }

void stopVibration() { fingulp_vibrate(0); }

// The browser's alert, modal as the handset's box; it has no icons.
void messageBox(const Char* text, const Char* caption, uint32_t) {
    plat::web::present();
    fingulp_message(toUtf8(text).c_str(), toUtf8(caption).c_str());
}

const Char* editionName() { return u"FINGULP web"; }

void fileWritten(const std::u16string& path) { fingulp_file_written(toUtf8(path.c_str()).c_str()); }

std::u16string executablePath() { return plat::web::kExecutable; }

MarkerResult createMarker(const Char* name) {
    fingulp_ask_marker(toUtf8(name ? name : u"").c_str());
    switch (plat::web::awaitAnswer(plat::web::kMarkerAnswerWaitMs)) {
        case 0: return MarkerResult::Created;
        case 1: return MarkerResult::AlreadyExisted;
        default: return MarkerResult::Failed;
    }
}

void publishWindow(const Char* className, const Char* title) {
    fingulp_publish_window(plat::web::windowKey(className, title).c_str());
}

uint64_t findWindow(const Char* className, const Char* title) {
    fingulp_ask_window(plat::web::windowKey(className, title).c_str());
    // The handle is any non-zero value above the low bit, which callers may set.
    return plat::web::awaitAnswer(plat::web::kWindowAnswerWaitMs) == 1 ? 2 : 0;
}

// The other tab is asked to come forward; browsers may not let it.
void bringToFront(uint64_t) { fingulp_bring_to_front(); }

}  // namespace plat::backend
