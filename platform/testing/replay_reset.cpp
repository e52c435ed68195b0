// The replay room afresh (replay_reset.h).
#include "platform/testing/replay_reset.h"

#include "platform/replay/recorder_player.h"
#include "platform/replay/watching.h"

namespace plat::replay {

void resetReplays() {
    detail::Replays& r = detail::replays();
    r.edition = Edition::Headless;
    r.keep = nullptr;
    r.fishEaten = nullptr;
    r.stateChecksum = nullptr;
    r.departure = 0;
    r.recorder.on = false;
    r.watch = Watch::None;
    r.player.game = {};
    r.player.begin();
    r.observed = {};
    r.stopTimers = false;
    detail::watching() = {};
}

}  // namespace plat::replay
