// Watching a replay: loading one to watch from a file, a link or a text, the
// program's clock at the watcher's pace, what the watcher is shown, and
// seeking (the clock jumps ahead; behind, the watched game starts again).
#include <limits>

#include "platform/replay.h"
#include "platform/replay/recorder_player.h"
#include "platform/replay/seeking.h"
#include "platform/replay/watching.h"
#include "platform/types.h"

namespace plat::replay {

detail::Watching& detail::watching() {
    static Watching w;
    return w;
}

namespace {

constexpr uint64_t kNoDeadline = std::numeric_limits<uint64_t>::max();

using detail::watching;
using detail::Watching;

}  // namespace

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

// --- The clock ---------------------------------------------------------------------

uint64_t programClock(uint64_t backEndMs) {
    const Watching& w = watching();
    return (w.paced ? w.pace.clock(backEndMs) : backEndMs) + w.skipped;
}

int64_t backEndWait(uint64_t programSpan) {
    const Watching& w = watching();
    return w.paced ? w.pace.realWait(programSpan) : static_cast<int64_t>(programSpan);
}

void paceInRealTime(uint64_t realMs) {
    Watching& w = watching();
    w.paced = watchState() != Watch::None;
    w.pace.start(realMs);
    w.haveShown = false;
}

void changePace(Pace::Change change, uint64_t realMs) {
    if (watching().paced) watching().pace.change(change, realMs);
}

// --- What the watcher is shown ------------------------------------------------------------

uint32_t watchedTicks() { return detail::replays().player.ticks; }
uint32_t recordedTicks() { return detail::replays().recorder.ticks; }

Shown shown() {
    const Watching& w = watching();
    Shown s;
    s.state = watchState();
    s.paused = w.pace.paused;
    s.speed = w.pace.speed;
    s.elapsedMs = watchedTicks() * kTickMs;
    s.totalMs = watched().outcome.ticks * kTickMs;
    s.departureMs = departure() ? static_cast<int64_t>(departure()) * kTickMs : -1;
    return s;
}

bool shownChanged() {
    Watching& w = watching();
    if (watchState() == Watch::None || w.seeking) return false;
    const Shown s = shown();
    const bool same = w.haveShown && s.state == w.last.state && s.paused == w.last.paused &&
                      s.speed == w.last.speed && s.elapsedMs / 100 == w.last.elapsedMs / 100 &&
                      s.departureMs == w.last.departureMs;
    w.last = s;
    w.haveShown = true;
    return !same;
}

std::string shownTitle(const Shown& s) {
    const auto minutes = [](uint32_t ms) {
        const std::string tenths = tickTime(ms / kTickMs);
        return tenths.substr(0, tenths.size() - 2);  // m:ss
    };
    std::string title = "FINGULP replay - " + minutes(s.elapsedMs) + " / " + minutes(s.totalMs) + " - ";
    if (s.state == Watch::Ended) {
        title += "ended";
    } else if (s.paused) {
        title += "paused";
    } else {
        title += std::to_string(s.speed) + "x";
    }
    if (s.departureMs >= 0) title += " - departs at " + tickTime(static_cast<uint32_t>(s.departureMs / kTickMs));
    return title;
}

// --- Seeking ---------------------------------------------------------------------------------

void seekTo(uint32_t tick) {
    detail::Replays& r = detail::replays();
    Watching& w = watching();
    if (r.watch == Watch::None) return;
    w.target = tick < r.player.game.outcome.ticks ? tick : r.player.game.outcome.ticks;
    const bool started = r.watch == Watch::Playing || r.watch == Watch::Ended;
    const bool behind = started && w.target < r.player.ticks;
    if (!behind && (r.watch == Watch::Ended || (r.watch == Watch::Playing && w.target == r.player.ticks))) return;
    w.restart = w.restart || behind;
    w.seeking = true;
    // Nothing sounds or shakes while the game runs ahead.
    w.silence = true;
}

bool seeking() { return watching().seeking; }

namespace seek {

Idle idle(uint64_t now, uint64_t deadline) {
    detail::Replays& r = detail::replays();
    Watching& w = watching();
    Idle step;
    if (!w.seeking) return step;
    step.silence = w.silence;
    w.silence = false;
    if (w.restart && r.watch != Watch::None) {
        w.restart = false;
        r.watch = Watch::Waiting;
        r.observed = {};
        step.restart = step.goOn = true;
        return step;
    }
    const bool before = r.watch == Watch::Waiting || (r.watch == Watch::Playing && r.player.ticks < w.target);
    if (before && deadline != kNoDeadline) {
        if (deadline > now) w.skipped += deadline - now;
        step.goOn = true;
        return step;
    }
    w.seeking = false;
    step.finished = true;
    return step;
}

void skip(uint64_t ms) { watching().skipped += ms; }

}  // namespace seek
}  // namespace plat::replay
