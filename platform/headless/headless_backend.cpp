// The headless handset's back end, for tests and fingulp-sim.
//
// What it supports:
//  [x] A virtual clock: waits jump to the next timer or script step, sleeps
//      and waiting sounds advance it.
//  [x] Input from a script (script.cpp) or from tests: key presses, held keys,
//      soft keys, focus, paint, close.
//  [x] The screen as a readable bitmap, written as PNG on request.
//  [x] A log of every sound, vibration, timer, window and message-box call.
//  [x] An in-process stand-in for another running instance.
//  [ ] Real time, real sound, a window.
//
// Everything it holds is in one record, Handset (handset.h), reached through
// handset().
#include "platform/backend.h"
#include "platform/headless/animation.h"
#include "platform/headless/handset.h"
#include "platform/headless/headless.h"
#include "platform/headless/script.h"
#include "platform/input.h"
#include "platform/replay.h"

namespace plat::headless {

Handset& handset() {
    static Handset h;
    return h;
}

namespace {

std::string narrow(const Char* text) {
    std::string out;
    for (; text && *text; ++text) {
        const Char c = *text;
        if (c == u'\n') {
            out += "\\n";
        } else {
            out += static_cast<char>(c < 0x80 ? c : '?');
        }
    }
    return out;
}

void record(const std::string& text) {
    Handset& h = handset();
    if (h.keepEntries) h.entries.push_back({h.clock, text});
    if (h.logStream) {
        std::fprintf(h.logStream, "%llu %s\n", static_cast<unsigned long long>(h.clock), text.c_str());
        std::fflush(h.logStream);
    }
}

}  // namespace

void reset() {
    Handset& h = handset();
    h.clock = 0;
    input::releaseAll();
    h.entries.clear();
    h.keepEntries = true;
    h.screenChanges = 0;
    h.executable = u"./fingulp";
    h.ownMarker = false;
    h.other = {};
    resetScript();
}

// The program's clock: the virtual one, and what seeks jumped.
uint64_t now() { return plat::replay::programClock(handset().clock); }
void advanceClock(uint64_t milliseconds) {
    Handset& h = handset();
    animateUntil(h.clock, h.clock + milliseconds);
    h.clock += milliseconds;
}
void pressKey(uint32_t keyCode) {
    // A source of its own, so that a key the script holds stays held.
    constexpr input::Source kPressAndLetGo = 0x100000000;
    input::keyDown(kPressAndLetGo + keyCode, keyCode);
    input::keyUp(kPressAndLetGo + keyCode);
}
const std::vector<LogEntry>& log() { return handset().entries; }
void clearLog() { handset().entries.clear(); }
void logTo(std::FILE* out) { handset().logStream = out; }
void keepLog(bool keep) {
    handset().keepEntries = keep;
    if (!keep) handset().entries = {};
}
size_t screenChanges() { return handset().screenChanges; }
void setExecutablePath(const std::u16string& path) { handset().executable = path; }

void simulateOtherInstance(uint64_t markerUntil, uint64_t windowAt, const std::u16string& className,
                           const std::u16string& title) {
    handset().other = {markerUntil, windowAt, className, title};
}

}  // namespace plat::headless

namespace plat::backend {

using plat::headless::handset;
using plat::headless::record;

uint64_t now() { return plat::headless::now(); }

void sleep(uint32_t milliseconds) {
    plat::headless::programBlocks(milliseconds);
    plat::headless::advanceClock(milliseconds);
}

void waitForInput(uint64_t deadline) { plat::headless::runScriptUntil(deadline); }

void windowCreated(const Char* title, int32_t iconId, const Bitmap* screen) {
    (void)screen;
    record("window \"" + plat::headless::narrow(title) + "\" icon " + std::to_string(iconId));
}

void screenChanged() { ++handset().screenChanges; }

void windowDestroyed() { record("window destroyed"); }

void timerChanged(uint32_t id, uint32_t periodMs) {
    record("timer " + std::to_string(id) + (periodMs ? " start " + std::to_string(periodMs) : " stop"));
}

void startSound(const Char* name, const Wave&, bool blocking) {
    record((blocking ? "sound play " : "sound start ") + plat::headless::narrow(name));
}

void stopSound() { record("sound stop"); }

void startVibration() { record("vibrate start"); }
void stopVibration() { record("vibrate stop"); }

void messageBox(const Char* text, const Char* caption, uint32_t style) {
    record("message \"" + plat::headless::narrow(text) + "\" caption \"" + plat::headless::narrow(caption) +
           "\" style " + std::to_string(style));
}

// The edition's name stays the desktop's, so screenshots match the desktop's.
const Char* editionName() { return u"FINGULP desktop"; }

std::u16string executablePath() { return handset().executable; }

// Files live on the real file system: nothing to copy anywhere.
void fileWritten(const std::u16string&) {}

MarkerResult createMarker(const Char* name) {
    (void)name;
    auto& h = handset();
    if (h.clock < h.other.markerUntil) return MarkerResult::AlreadyExisted;
    h.ownMarker = true;
    return MarkerResult::Created;
}

void publishWindow(const Char* className, const Char* title) {
    record("publish \"" + plat::headless::narrow(className) + "\" \"" + plat::headless::narrow(title) + "\"");
}

uint64_t findWindow(const Char* className, const Char* title) {
    const auto& o = handset().other;
    if (!className || !title) return 0;
    if (handset().clock < o.windowAt || handset().clock >= o.markerUntil || o.className != className ||
        o.title != title) {
        return 0;
    }
    return 0x1000;
}

void bringToFront(uint64_t window) { record("front " + std::to_string(window)); }

}  // namespace plat::backend
