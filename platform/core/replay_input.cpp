// The recorder and the player: what the event queue hands the program and the
// keys each tick reads, written into a replay's item stream, or fed back from
// one at the same ticks.
#include "platform/backend.h"
#include "platform/core/input_tap.h"
#include "platform/core/replay_items.h"
#include "platform/core/window_manager.h"
#include "platform/replay.h"

namespace plat::replay {
namespace {

using detail::Item;
using detail::ItemKind;
using detail::kHeldKeys;

// Room reserved at New game: about ten minutes of busy play.
constexpr size_t kReservedInput = 16 * 1024;
// Below this much spare room the buffer doubles at the next tick's start.
constexpr size_t kSpareInput = 256;

struct Replays {
    Edition edition = Edition::Headless;
    void (*keep)(const Replay&) = nullptr;
    int32_t (*fishEaten)() = nullptr;

    bool recording = false;
    Replay recorded;
    detail::ItemWriter writer{recorded.input};
    uint32_t ticks = 0;
    uint8_t held = 0;     // the held keys as the last tick read them
    uint8_t pressed = 0;  // arrows pressed since: held from the next tick

    Watch watch = Watch::None;
    Replay watched;
    detail::ItemReader reader{nullptr, 0};
    Item pending;
    bool havePending = false;
    Outcome observed;
};

Replays& replays() {
    static Replays r;
    return r;
}

int32_t fishNow() { return replays().fishEaten ? replays().fishEaten() : 0; }

void nextPending() {
    Replays& r = replays();
    std::string error;  // the stream was checked when it was read
    r.havePending = !r.reader.atEnd() && r.reader.next(r.pending, error);
}

uint8_t liveHeldKeys() {
    uint8_t mask = 0;
    for (int i = 0; i < 8; ++i) {
        if (plat::detail::liveKeyState(kHeldKeys[i]) == kKeyHeld) mask |= static_cast<uint8_t>(1u << i);
    }
    return mask;
}

// A press of an arrow that is up: the item implies it is held at the next tick.
void notePress(uint32_t keyCode) {
    Replays& r = replays();
    const int arrow = detail::arrowIndex(keyCode);
    if (arrow >= 0 && !((r.held >> arrow) & 1)) r.pressed |= static_cast<uint8_t>(1u << arrow);
}

void stopTimers() {
    for (auto& t : plat::detail::wm().timers) {
        if (t.active) backend::timerChanged(t.id, 0);
        t.active = false;
    }
}

}  // namespace

void recordAs(Edition edition) { replays().edition = edition; }
void onRecorded(void (*keep)(const Replay&)) { replays().keep = keep; }
void countFishWith(int32_t (*fishEaten)()) { replays().fishEaten = fishEaten; }
bool recording() { return replays().recording; }

void startRecording(const Header& header) {
    Replays& r = replays();
    if (r.watch != Watch::None) return;
    r.recorded.header = header;
    r.recorded.header.edition = r.edition;
    r.recorded.outcome = {};
    r.recorded.input.clear();
    r.recorded.input.reserve(kReservedInput);
    r.writer = detail::ItemWriter(r.recorded.input);
    r.ticks = 0;
    r.held = 0;
    r.pressed = 0;
    r.recording = true;
}

void finishRecording(Ending ending) {
    Replays& r = replays();
    if (!r.recording) return;
    r.recording = false;
    r.writer.flush();
    r.recorded.outcome = {ending, fishNow(), r.ticks};
    if (r.keep) r.keep(r.recorded);
}

void watch(Replay replay) {
    Replays& r = replays();
    r.recording = false;
    r.watched = std::move(replay);
    r.watch = Watch::Waiting;
}

Watch watchState() { return replays().watch; }
const Replay& watched() { return replays().watched; }
Outcome observedOutcome() { return replays().observed; }

void beginPlayback() {
    Replays& r = replays();
    if (r.watch != Watch::Waiting) return;
    r.watch = Watch::Playing;
    r.ticks = 0;
    r.held = 0;
    r.pressed = 0;
    r.reader = detail::ItemReader(r.watched.input.data(), r.watched.input.size());
    nextPending();
}

void Pace::start(uint64_t real) { *this = Pace{false, 1, real, real}; }

uint64_t Pace::clock(uint64_t real) const { return paused ? clockAt : clockAt + (real - realAt) * speed; }

int64_t Pace::realWait(uint64_t programSpan) const {
    return paused ? -1 : static_cast<int64_t>((programSpan + speed - 1) / speed);
}

void Pace::change(Change what, uint64_t real) {
    clockAt = clock(real);
    realAt = real;
    if (what == Change::PauseOrPlay) paused = !paused;
    if (what == Change::Faster && speed < 8) speed *= 2;
    if (what == Change::Slower && speed > 1) speed /= 2;
}

void endPlayback(Ending ending) {
    Replays& r = replays();
    if (r.watch != Watch::Playing) return;
    r.watch = Watch::Ended;
    r.observed = {ending, fishNow(), r.ticks};
    // The last screen stays: nothing ticks any more.
    stopTimers();
}

}  // namespace plat::replay

namespace plat::detail {

using replay::replays;

void tapTick() {
    auto& r = replays();
    if (r.recording) {
        if (r.ticks >= replay::kMaxTicks) return replay::finishRecording(replay::Ending::Unfinished);
        ++r.ticks;
        if (r.recorded.input.capacity() - r.recorded.input.size() < replay::kSpareInput) {
            r.recorded.input.reserve(r.recorded.input.capacity() * 2);
        }
        r.held |= r.pressed;
        r.pressed = 0;
        const uint8_t now = replay::liveHeldKeys();
        for (uint32_t i = 0; i < 8; ++i) {
            if (((now ^ r.held) >> i) & 1) r.writer.put({r.ticks, replay::ItemKind::KeyToggle, i, 0});
        }
        r.held = now;
    } else if (r.watch == replay::Watch::Playing) {
        ++r.ticks;
        r.held |= r.pressed;
        r.pressed = 0;
        while (r.havePending && r.pending.kind == replay::ItemKind::KeyToggle && r.pending.tick == r.ticks) {
            r.held ^= static_cast<uint8_t>(1u << r.pending.value);
            replay::nextPending();
        }
    }
}

void tapDelivered(const Event& event) {
    auto& r = replays();
    // Room for the longest item, a run of presses, below the limit.
    if (!r.recording || r.recorded.input.size() >= replay::kMaxInputBytes - replay::kSpareInput) return;
    // A hidden page's save writes config.ini and changes nothing a game does.
    if (event.code == kEventSave) return;
    replay::Item item{r.ticks, replay::ItemKind::Other, event.code, event.param};
    switch (event.code) {
        case kEventKeyDown:
            item = {r.ticks, replay::ItemKind::KeyDown, event.param, 0};
            replay::notePress(event.param);
            break;
        case kEventCommand: item = {r.ticks, replay::ItemKind::Command, event.param, 0}; break;
        case kEventFocusLost: item.kind = replay::ItemKind::FocusLost; break;
        case kEventFocusGained: item.kind = replay::ItemKind::FocusGained; break;
        case kEventPaint: item.kind = replay::ItemKind::Paint; break;
        case kEventClose: item.kind = replay::ItemKind::Close; break;
        default: break;
    }
    r.writer.put(item);
}

bool tapFeed() {
    auto& r = replays();
    if (r.watch != replay::Watch::Playing) return false;
    WindowManager& m = wm();
    while (r.havePending && r.pending.tick == r.ticks && r.pending.kind != replay::ItemKind::KeyToggle) {
        const replay::Item item = r.pending;
        replay::nextPending();
        Window* w = m.window;
        if (!w) continue;
        switch (item.kind) {
            case replay::ItemKind::KeyDown:
                replay::notePress(item.value);
                postEvent(w, kEventKeyDown, item.value, 0);
                return true;
            case replay::ItemKind::Command:
                // Only the soft-key bar's own commands: nothing else ever came from a key.
                if (!m.bar || (item.value != m.bar->leftCommand && item.value != m.bar->rightCommand)) continue;
                postEvent(w, kEventCommand, item.value, 0);
                return true;
            case replay::ItemKind::FocusLost: postEvent(w, kEventFocusLost, 0, 0); return true;
            case replay::ItemKind::FocusGained: postEvent(w, kEventFocusGained, 0, 0); return true;
            case replay::ItemKind::Paint: invalidateWindow(w); return true;
            case replay::ItemKind::Close: postEvent(w, kEventClose, 0, 0); return true;
            default:
                // Only typed characters, should a back end send them; never
                // the window's own life events.
                if (item.value != kEventChar) continue;
                postEvent(w, item.value, item.param, 0);
                return true;
        }
    }
    // Everything recorded was fed and the game ran its ticks: it stopped here.
    if (!r.havePending && r.ticks >= r.watched.outcome.ticks) replay::endPlayback(replay::Ending::Unfinished);
    return false;
}

void tapStalled() {
    if (replays().watch == replay::Watch::Playing) replay::endPlayback(replay::Ending::Unfinished);
}

uint16_t tapKeyState(uint32_t keyCode, uint16_t live) {
    auto& r = replays();
    if (r.watch == replay::Watch::None) return live;
    for (int i = 0; i < 8; ++i) {
        if (replay::kHeldKeys[i] == keyCode) return ((r.held >> i) & 1) ? kKeyHeld : 0;
    }
    return 0;
}

bool tapLiveInputBlocked() { return replays().watch != replay::Watch::None; }

}  // namespace plat::detail
