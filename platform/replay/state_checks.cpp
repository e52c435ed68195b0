// The state checks of a recorded or watched game (state_checks.h), and the
// game's checksum function they call.
#include "platform/replay/state_checks.h"

namespace plat::replay {
namespace detail {
namespace {

// Ten minutes of checks; more grow the buffer as a tick begins.
constexpr size_t kReservedChecks = 10 * 60 * 1000 / (kCheckInterval * kTickMs);

uint16_t stateNow(const Replays& r) { return r.stateChecksum ? r.stateChecksum() : 0; }

}  // namespace

void startChecks(Replay& game) {
    game.version = thisProgram();
    game.checks.interval = kCheckInterval;
    game.checks.sums.clear();
    game.checks.sums.reserve(kReservedChecks);
}

void checkRecordedTick(Replays& r) {
    StateChecks& checks = r.recorder.game.checks;
    if (checks.interval == 0 || r.recorder.ticks % checks.interval != 0) return;
    checks.sums.push_back(stateNow(r));
}

void checkWatchedTick(Replays& r) {
    const StateChecks& checks = r.player.game.checks;
    const uint32_t tick = r.player.ticks;
    if (checks.interval == 0 || tick % checks.interval != 0) return;
    const size_t at = tick / checks.interval - 1;
    if (at >= checks.sums.size() || checks.sums[at] == stateNow(r)) return;
    if (r.departure == 0 || tick < r.departure) r.departure = tick;
}

}  // namespace detail

void checkStateWith(uint16_t (*stateChecksum)()) { detail::replays().stateChecksum = stateChecksum; }

uint32_t departure() { return detail::replays().departure; }

}  // namespace plat::replay
