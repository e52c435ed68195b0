// The recorder and the player: what the event queue hands the program and the
// keys each tick reads, written into a replay's item stream, or fed back from
// one at the same ticks; and the calls that start and end both.
#include "platform/replay/recorder_player.h"

#include <algorithm>

#include "platform/game_tick.h"
#include "platform/replay/state_checks.h"

namespace plat::replay {
namespace detail {
namespace {

// Room reserved at New game: about ten minutes of busy play.
constexpr size_t kReservedInput = 16 * 1024;
// Below this much spare room the buffer doubles at the next tick's start.
constexpr size_t kSpareInput = 256;
// The most one item adds (a run of 1,024 presses: 136 bytes; another item: 15),
// and the room kept below the limit before each: a run being gathered, the
// item, and a new run it may start.
constexpr size_t kLongestItem = 136;
constexpr size_t kHeadroom = 3 * kLongestItem;

// A press of an arrow that is up: the item implies it is held at the next tick.
void notePress(uint8_t held, uint8_t& pressed, uint32_t keyCode) {
    const int arrow = arrowIndex(keyCode);
    if (arrow >= 0 && !((held >> arrow) & 1)) pressed |= static_cast<uint8_t>(1u << arrow);
}

}  // namespace

void Recorder::start(const Header& header) {
    game.header = header;
    game.outcome = {};
    game.input.clear();
    game.input.reserve(kReservedInput);
    writer = ItemWriter(game.input);
    ticks = 0;
    held = 0;
    pressed = 0;
    boundary = {0, writer, 0, 0};
    on = true;
}

bool Recorder::roomFor() const { return game.input.size() + kHeadroom <= kMaxInputBytes; }

bool Recorder::tick(uint8_t liveHeld, int32_t fishEaten) {
    boundary = {game.input.size(), writer, ticks, fishEaten};
    if (ticks >= kMaxTicks) return false;
    ++ticks;
    if (game.input.capacity() - game.input.size() < kSpareInput) {
        game.input.reserve(std::min(game.input.capacity() * 2, kMaxInputBytes));
    }
    held |= pressed;
    pressed = 0;
    for (uint32_t i = 0; i < static_cast<uint32_t>(kPolledKeyCount); ++i) {
        if (((liveHeld ^ held) >> i) & 1) {
            if (!roomFor()) return false;
            writer.put({ticks, ItemKind::KeyToggle, i, 0});
        }
    }
    held = liveHeld;
    return true;
}

bool Recorder::event(const Event& event) {
    // A hidden page's save writes config.ini and changes nothing a game does.
    if (event.code == kEventSave) return true;
    if (!roomFor()) return false;
    Item item{ticks, ItemKind::Other, event.code, event.param};
    switch (event.code) {
        case kEventKeyDown:
            item = {ticks, ItemKind::KeyDown, event.param, 0};
            notePress(held, pressed, event.param);
            break;
        case kEventCommand: item = {ticks, ItemKind::Command, event.param, 0}; break;
        case kEventFocusLost: item.kind = ItemKind::FocusLost; break;
        case kEventFocusGained: item.kind = ItemKind::FocusGained; break;
        case kEventPaint: item.kind = ItemKind::Paint; break;
        case kEventClose: item.kind = ItemKind::Close; break;
        default: break;
    }
    writer.put(item);
    return true;
}

void Recorder::finish(Ending ending, int32_t fishEaten) {
    on = false;
    writer.flush();
    game.outcome = {ending, fishEaten, ticks};
}

void Recorder::cutShort() {
    // What came after the boundary goes; the run it was gathering is written.
    game.input.resize(boundary.size);
    writer = boundary.writer;
    ticks = boundary.ticks;
    // A check taken as the dropped tick began goes with it.
    if (game.checks.interval) game.checks.sums.resize(ticks / game.checks.interval);
    finish(Ending::CutShort, boundary.fishEaten);
}

void Player::begin() {
    ticks = 0;
    held = 0;
    pressed = 0;
    reader = ItemReader(game.input.data(), game.input.size());
    advance();
}

void Player::advance() {
    std::string error;  // the stream was checked when it was read
    havePending = !reader.atEnd() && reader.next(pending, error);
}

void Player::tick() {
    ++ticks;
    held |= pressed;
    pressed = 0;
    while (havePending && pending.kind == ItemKind::KeyToggle && pending.tick == ticks) {
        held ^= static_cast<uint8_t>(1u << pending.value);
        advance();
    }
}

bool Player::next(Item& item) {
    if (!havePending || pending.tick != ticks || pending.kind == ItemKind::KeyToggle) return false;
    item = pending;
    advance();
    return true;
}

void Player::fed(const Item& item) {
    if (item.kind == ItemKind::KeyDown) notePress(held, pressed, item.value);
}

uint16_t Player::keyState(uint32_t keyCode) const {
    const int i = heldIndex(keyCode);
    return (i >= 0 && ((held >> i) & 1)) ? kKeyHeld : 0;
}

Replays& replays() {
    static Replays r;
    return r;
}

int32_t fishEatenNow() { return replays().fishEaten ? replays().fishEaten() : 0; }

void keepCutShort() {
    Replays& r = replays();
    r.recorder.cutShort();
    if (r.keep) r.keep(r.recorder.game);
}

}  // namespace detail

namespace {

using detail::replays;

int32_t fishNow() { return detail::fishEatenNow(); }

}  // namespace

std::string cutShortNotice(const Replay& replay) {
    if (replay.outcome.ending != Ending::CutShort) return "";
    const uint64_t minutes = static_cast<uint64_t>(replay.outcome.ticks) * kGameTickMs / 60000;
    return "this game outgrew what a replay may hold: its replay ends after " + std::to_string(minutes / 60) +
           " h " + std::to_string(minutes % 60) + " min of play";
}

void recordGames(Edition edition, void (*keep)(const Replay&)) {
    replays().edition = edition;
    replays().keep = keep;
}

void countFishWith(int32_t (*fishEaten)()) { replays().fishEaten = fishEaten; }
bool recording() { return replays().recorder.on; }

void startRecording(const Header& header) {
    detail::Replays& r = replays();
    if (r.watch != Watch::None) return;
    r.recorder.start(header);
    r.recorder.game.header.edition = r.edition;
    detail::startChecks(r.recorder.game);
}

void finishRecording(Ending ending) {
    detail::Replays& r = replays();
    if (!r.recorder.on) return;
    r.recorder.finish(ending, fishNow());
    if (r.keep) r.keep(r.recorder.game);
}

void watch(Replay replay) {
    detail::Replays& r = replays();
    r.recorder.on = false;
    r.player.game = std::move(replay);
    r.watch = Watch::Waiting;
    r.departure = 0;
}

Watch watchState() { return replays().watch; }
const Replay& watched() { return replays().player.game; }
Outcome observedOutcome() {
    const detail::Replays& r = replays();
    return r.watch == Watch::Playing ? Outcome{Ending::Unfinished, fishNow(), r.player.ticks} : r.observed;
}

void beginPlayback() {
    detail::Replays& r = replays();
    if (r.watch != Watch::Waiting) return;
    r.watch = Watch::Playing;
    r.player.begin();
}

void endPlayback(Ending ending) {
    detail::Replays& r = replays();
    if (r.watch != Watch::Playing) return;
    r.watch = Watch::Ended;
    r.observed = {ending, fishNow(), r.player.ticks};
    // The last screen stays: the queue stops the timers when next idle.
    r.stopTimers = true;
}

}  // namespace plat::replay
