// The recorder and the player: what goes in comes out at the same ticks, a
// stalled replay ends, live input is held back while watching, and a finished
// game is handed over once.
#include <gtest/gtest.h>

#include <vector>

#include "platform/game_tick.h"
#include "platform/replay/hooks.h"
#include "platform/replay/recorder_player.h"
#include "platform/testing/replay_reset.h"
#include "platform/testing/windowing_reset.h"

namespace {

namespace replay = plat::replay;
using replay::detail::Item;
using replay::detail::ItemKind;

// A tick with these polled keys held (bit i: plat::kPolledKeys[i]), or an
// event the queue hands the program.
struct Step {
    bool tick;
    uint8_t held;
    plat::Event event;
};
Step tick(uint8_t held) { return {true, held, {}}; }
Step event(uint32_t code, uint32_t param = 0) { return {false, 0, {nullptr, code, param, 0}}; }

// What is recorded comes back at the same ticks, as events and as key reads.
TEST(RecordedGame, PlaysBackTheSameEventsAndKeyReads) {
    std::vector<Step> everyKey, autoRepeat = {tick(0)};
    for (int i = 0; i < plat::kPolledKeyCount; ++i) everyKey.insert(everyKey.end(), {tick(uint8_t(1u << i)), tick(0)});
    for (int i = 0; i < 30; ++i) {
        autoRepeat.push_back(event(plat::kEventKeyDown, plat::kKeyRight));
        if (i % 3 != 0) autoRepeat.push_back(tick(2));
    }
    autoRepeat.push_back(tick(0));
    const std::vector<Step> games[] = {
        everyKey, autoRepeat,
        {tick(0), event(plat::kEventKeyDown, plat::kKeyUp), tick(4), tick(4), tick(0)},  // held from the next tick
        {event(plat::kEventPaint), tick(0), event(plat::kEventCommand, plat::kCommandRightSoftKey),
         event(plat::kEventKeyDown, '5'), tick(16), event(plat::kEventFocusLost), event(plat::kEventFocusGained),
         tick(0), event(plat::kEventChar, 'x'), tick(0)},
    };
    for (const std::vector<Step>& steps : games) {
        SCOPED_TRACE(&steps - games);
        replay::detail::Recorder recorder;
        recorder.start({});
        uint32_t ticks = 0;
        for (const Step& s : steps) {
            ASSERT_TRUE(s.tick ? recorder.tick(s.held, 0) : recorder.event(s.event));
            ticks += s.tick;
        }
        recorder.finish(replay::Ending::Starved, 3);
        EXPECT_EQ(recorder.game.outcome.ticks, ticks);

        replay::detail::Player player;
        player.game = recorder.game;
        player.begin();
        Item item;
        for (const Step& s : steps) {
            if (s.tick) {
                EXPECT_FALSE(player.next(item)) << "an input fed before its tick";
                player.tick();
                for (int i = 0; i < plat::kPolledKeyCount; ++i) {
                    EXPECT_EQ(player.keyState(plat::kPolledKeys[i]) == plat::kKeyHeld, ((s.held >> i) & 1) != 0)
                        << "key " << plat::kPolledKeys[i] << " at tick " << player.ticks;
                }
                continue;
            }
            ASSERT_TRUE(player.next(item)) << "event " << s.event.code << " at tick " << player.ticks;
            player.fed(item);
            const bool same = (s.event.code == plat::kEventKeyDown) == (item.kind == ItemKind::KeyDown);
            EXPECT_TRUE(same && (item.kind == ItemKind::Paint || item.value == s.event.param ||
                                 item.value == s.event.code));
        }
        EXPECT_FALSE(player.next(item));
        EXPECT_TRUE(player.done());
    }
}

// A game that outgrows the format (its input with presses, or its ticks
// without) is cut at a tick boundary, with only its ticks' checks, and plays to it.
TEST(OutgrownGame, IsCutAtATickBoundaryAndPlaysToIt) {
    for (const uint32_t presses : {500u, 0u}) {
        SCOPED_TRACE(presses);
        replay::detail::Recorder recorder;
        recorder.start({});
        recorder.game.checks.interval = 1;
        std::vector<uint32_t> eventsBeforeTick;  // [t]: events recorded before tick t + 1 began
        uint32_t events = 0;
        for (bool room = true; room;) {
            eventsBeforeTick.push_back(events);
            room = recorder.tick(presses ? static_cast<uint8_t>(eventsBeforeTick.size() % 3) : 0,
                                 static_cast<int32_t>(events));
            if (room) recorder.game.checks.sums.push_back(0);
            for (uint32_t i = 0; room && i < 2 * presses; ++i) {
                room = recorder.event({nullptr, plat::kEventKeyDown, i % 2 ? uint32_t{plat::kKeyRight} : uint32_t{'5'}, 0});
                events += room;
            }
        }
        recorder.cutShort();
        const uint32_t cut = static_cast<uint32_t>(eventsBeforeTick.size()) - 1;
        EXPECT_EQ(recorder.game.outcome,
                  (replay::Outcome{replay::Ending::CutShort, static_cast<int32_t>(eventsBeforeTick[cut]), cut}));
        EXPECT_FALSE(recorder.on);

        replay::detail::Player player;
        const std::vector<uint8_t> bytes = replay::encode(recorder.game);
        std::string error;
        ASSERT_TRUE(replay::decode(bytes.data(), bytes.size(), player.game, error)) << error;
        player.begin();
        uint32_t fed = 0;
        Item item;
        for (uint32_t t = 0; t <= cut; ++t) {
            if (t > 0) player.tick();
            for (; player.next(item); ++fed) player.fed(item);
            EXPECT_EQ(fed, eventsBeforeTick[t]) << "at tick " << t;
        }
        EXPECT_TRUE(player.done());
    }
}

int handedOver = 0;
void count(const replay::Replay&) { ++handedOver; }

class Watching : public ::testing::Test {
protected:
    void SetUp() override {
        plat::resetWindowing();
        replay::resetReplays();
        handedOver = 0;
    }
    void TearDown() override { replay::resetReplays(); }
    // A replay of `ticks` ticks with Left held from tick 1.
    static replay::Replay game(uint32_t ticks) {
        replay::detail::Recorder recorder;
        recorder.start({});
        for (uint32_t t = 0; t < ticks; ++t) recorder.tick(1, 0);
        recorder.finish(replay::Ending::Starved, 0);
        return recorder.game;
    }
};

TEST_F(Watching, AFinishedGameIsHandedOverOnce) {
    replay::recordGames(replay::Edition::Desktop, count);
    replay::startRecording({});
    replay::hooks::tick(0);
    replay::finishRecording(replay::Ending::Starved);
    replay::finishRecording(replay::Ending::Exit);
    replay::finishRecording(replay::Ending::Closed);
    EXPECT_EQ(handedOver, 1);
}

TEST_F(Watching, LiveInputIsHeldBack) {
    plat::setKeyHeld('2', true);
    EXPECT_EQ(replay::hooks::keyRead('2', plat::kKeyHeld), plat::kKeyHeld);
    EXPECT_FALSE(replay::hooks::liveInputHeldBack());
    replay::recordGames(replay::Edition::Headless, count);
    replay::watch(game(3));
    replay::startRecording({});  // nothing of a watched game is recorded
    replay::beginPlayback();
    replay::hooks::tick(0);
    EXPECT_TRUE(replay::hooks::liveInputHeldBack());
    EXPECT_EQ(replay::hooks::keyRead('2', plat::kKeyHeld), 0);
    EXPECT_EQ(replay::hooks::keyRead(plat::kKeyLeft, 0), plat::kKeyHeld);
    replay::endPlayback(replay::Ending::Starved);
    EXPECT_FALSE(replay::recording());
    EXPECT_EQ(handedOver, 0);
}

TEST_F(Watching, AStalledReplayEnds) {
    // Stalled: no timer will ever tick again. Run out: every tick ran and
    // nothing is left to feed.
    for (const bool stalled : {true, false}) {
        replay::resetReplays();
        replay::watch(game(5));
        replay::beginPlayback();
        for (int t = 0; t < (stalled ? 2 : 5); ++t) replay::hooks::tick(0);
        plat::Event fed;
        EXPECT_EQ(replay::hooks::idle({}, fed), stalled ? replay::hooks::Idle::Wait : replay::hooks::Idle::StopTimers);
        if (stalled) {
            EXPECT_EQ(replay::watchState(), replay::Watch::Playing);
            replay::hooks::stalled();
        }
        EXPECT_EQ(replay::watchState(), replay::Watch::Ended) << (stalled ? "stalled" : "run out");
        EXPECT_EQ(replay::observedOutcome().ending, replay::Ending::Unfinished);
        EXPECT_EQ(replay::observedOutcome().ticks, stalled ? 2u : 5u);
    }
}

uint16_t stateNow = 0;
uint16_t currentState() { return stateNow; }
replay::Replay lastKept;
void keepLast(const replay::Replay& game) { lastKept = game; }

// The state is checked every 20 ticks as the tick begins: a game whose state
// differs from tick `from` on departs at the first check from there.
TEST_F(Watching, TheFirstCheckThatDiffersIsTheDeparture) {
    const struct {
        uint32_t from;  // 0: never differs
        bool checked;   // false: a replay without checks (format 1)
        uint32_t departure;
    } cases[] = {{0, true, 0}, {19, true, 20}, {40, true, 40}, {41, true, 60}, {100, true, 100}, {101, true, 0},
                 {30, false, 0}};
    for (const auto& c : cases) {
        replay::resetReplays();
        replay::checkStateWith(currentState);
        replay::recordGames(replay::Edition::Headless, keepLast);
        replay::startRecording({});
        for (stateNow = 1; stateNow <= 110; ++stateNow) replay::hooks::tick(0);
        replay::finishRecording(replay::Ending::Starved);
        ASSERT_EQ(lastKept.checks.sums.size(), 5u);
        if (!c.checked) lastKept.checks = {};
        replay::watch(lastKept);
        replay::beginPlayback();
        for (uint32_t t = 1; t <= 110; ++t) {
            stateNow = static_cast<uint16_t>(c.from && t >= c.from ? t + 1000 : t);
            replay::hooks::tick(0);
        }
        EXPECT_EQ(replay::departure(), c.departure) << "differing from tick " << c.from;
    }
    replay::checkStateWith(nullptr);
}

}  // namespace
