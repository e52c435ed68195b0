// The hooks on the input path (hooks.h): each tick, event and key read goes
// to the recorder while a game is recorded, or is answered by the player
// while a replay is watched.
#include "platform/replay/hooks.h"

#include "platform/replay/recorder_player.h"
#include "platform/replay/state_checks.h"

namespace plat::replay::hooks {
namespace {

using detail::Item;
using detail::ItemKind;
using detail::replays;

// The event a replayed item becomes; false for what a replay may not bring:
// commands other than the soft keys' own, and other events than typed
// characters (nothing in a replay can destroy the window).
bool asEvent(const Item& item, const FeedTarget& target, Event& event) {
    event = {target.window, 0, 0, 0};
    switch (item.kind) {
        case ItemKind::KeyDown: event.code = kEventKeyDown; event.param = item.value; return true;
        case ItemKind::Command:
            event.code = kEventCommand;
            event.param = item.value;
            return item.value != 0 &&
                   (item.value == target.leftCommand || item.value == target.rightCommand);
        case ItemKind::FocusLost: event.code = kEventFocusLost; return true;
        case ItemKind::FocusGained: event.code = kEventFocusGained; return true;
        case ItemKind::Paint: event.code = kEventPaint; return true;
        case ItemKind::Close: event.code = kEventClose; return true;
        case ItemKind::KeyToggle: return false;
        case ItemKind::Other:
            event.code = item.value;
            event.param = item.param;
            return item.value == kEventChar;
    }
    return false;
}

}  // namespace

void tick(uint8_t liveHeld) {
    detail::Replays& r = replays();
    if (r.recorder.on) {
        if (!r.recorder.tick(liveHeld, detail::fishEatenNow())) return detail::keepCutShort();
        detail::checkRecordedTick(r);
    } else if (r.watch == Watch::Playing) {
        r.player.tick();
        detail::checkWatchedTick(r);
    }
}

void delivered(const Event& event) {
    if (replays().recorder.on && !replays().recorder.event(event)) detail::keepCutShort();
}

Idle idle(const FeedTarget& target, Event& event) {
    detail::Replays& r = replays();
    if (r.watch == Watch::Playing) {
        Item item;
        while (r.player.next(item)) {
            if (!target.window || !asEvent(item, target, event)) continue;
            r.player.fed(item);
            return Idle::Feed;
        }
        // Everything recorded was fed and the game ran its ticks: it stopped
        // here, or was cut short here.
        if (r.player.done()) {
            endPlayback(r.player.game.outcome.ending == Ending::CutShort ? Ending::CutShort : Ending::Unfinished);
        }
    }
    if (!r.stopTimers) return Idle::Wait;
    r.stopTimers = false;
    return Idle::StopTimers;
}

void stalled() {
    if (replays().watch == Watch::Playing) endPlayback(Ending::Unfinished);
}

uint16_t keyRead(uint32_t keyCode, uint16_t live) {
    return replays().watch == Watch::None ? live : replays().player.keyState(keyCode);
}

bool liveInputHeldBack() { return replays().watch != Watch::None; }

}  // namespace plat::replay::hooks
