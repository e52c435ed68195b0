// Watching a replay: loading one to watch from a file, a link or a text, the
// pace it plays at, and the watching clock a back end runs the program on.
#include "platform/replay.h"

namespace plat::replay {

bool watchFrom(const std::string& fileLinkOrText, std::string& error) {
    Replay replay;
    if (!loadReplay(fileLinkOrText, replay, error)) return false;
    watch(std::move(replay));
    return true;
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

void WatchClock::start(uint64_t real) {
    *this = WatchClock{};
    on = watchState() != Watch::None;
    pace.start(real);
}

uint64_t WatchClock::now(uint64_t real) const { return on ? pace.clock(real) : real; }

int64_t WatchClock::realWait(uint64_t programSpan) const {
    return on ? pace.realWait(programSpan) : static_cast<int64_t>(programSpan);
}

void WatchClock::change(Pace::Change what, uint64_t real) {
    if (on) pace.change(what, real);
}

bool WatchClock::shownChanged() {
    if (!on) return false;
    const int now = static_cast<int>(watchState()) * 100 + (pace.paused ? 50 : 0) + static_cast<int>(pace.speed);
    if (now == shown) return false;
    shown = now;
    return true;
}

}  // namespace plat::replay
