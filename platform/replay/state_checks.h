// The game's state checked every kCheckInterval ticks (inside platform/replay):
// kept while a game is recorded, compared while a replay is watched, so a
// replay that departs from this program says where.
#pragma once

#include "platform/replay/recorder_player.h"

namespace plat::replay::detail {

// A recording starts: this program's version, checks every kCheckInterval
// ticks, room for about ten minutes of them.
void startChecks(Replay& game);
// A recorded tick begins: its check when one is due.
void checkRecordedTick(Replays& r);
// A watched tick begins: its check against the recording's; the first that
// differs is the departure.
void checkWatchedTick(Replays& r);

}  // namespace plat::replay::detail
