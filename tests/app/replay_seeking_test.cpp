// Seeking in a watched replay, on the whole program: forward, back after
// playing past, to the end and back from it, and to the start each show the
// screen the game shows when played from its start to that tick (as
// fingulp-sim --until stops it), silently.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program.h"
#include "platform/replay.h"
#include "platform/windowing.h"
#include "support/files.h"
#include "support/fresh_program.h"
#include "testing/state_report.h"

namespace {

namespace replay = plat::replay;
using Screen = std::vector<plat::Colour>;

replay::Replay kept;
void keep(const replay::Replay& game) { kept = game; }
void quit() { plat::postQuit(0); }

// Where a watched run stops: at tick `playTo` (kMaxTicks: the end) or, when
// `seek`, where a seek from there to `target` ends.
struct Plan {
    uint32_t playTo = 0;
    bool seek = false;
    uint32_t target = 0;
} plan;
bool sought = false;
size_t logAtSeek = 0;  // the handset's log entries before the seek

bool stopHere() {
    if (sought) return true;
    const bool there = replay::watchedTicks() >= plan.playTo || replay::watchState() == replay::Watch::Ended;
    if (!there || !plan.seek) return there;
    sought = true;
    logAtSeek = plat::headless::log().size();
    replay::seekTo(plan.target);
    return !replay::seeking();
}

class ReplaySeeking : public ::testing::Test {
protected:
    test_files::ScratchFolder scratch{"replay_seeking"};

    void TearDown() override { test_program::fresh(scratch.folder(), quit); }  // nothing watched left after

    // The replay test's game: keys held and tapped, a pause, a lost focus, a
    // paint, the in-game menu, then starving.
    const replay::Replay& game() {
        static bool recorded = false;
        if (!recorded) {
            test_program::fresh(scratch.folder(), quit);
            // Sound and vibration on, so that a seek has something to keep quiet.
            test_files::writeFile(scratch.folder() / "config.ini",
                                  "[Lagoon]\nname=\"None\";\nsound=\"on\";\nmusic=\"on\";\nlevel=\"off\";\n"
                                  "MMCdir=\"off\";\nCAMdir=\"off\";\nDEVdir=\"off\";\nEEasyScores=\"0\";\n"
                                  "EHardScores=\"0\";\nPEasyScores=\"0\";\nPHardScores=\"0\";\n");
            std::string script = test_files::readFile(FINGULP_SOURCE_DIR "/tests/replay/recorded_game.sim");
            script.erase(script.find("shot SHOT"));
            std::string error;
            EXPECT_TRUE(plat::headless::loadScript(script, error)) << error;
            replay::recordGames(replay::Edition::Headless, keep);
            programMain();
            recorded = true;
        }
        return kept;
    }

    Screen watch(const Plan& how) {
        const replay::Replay& g = game();
        test_program::fresh(scratch.folder(), quit);
        plan = how;
        sought = false;
        plat::headless::onIdle(stopHere);
        replay::watch(g);
        programMain();
        return plat::screenSurface()->bitmap->pixels;
    }
};

TEST_F(ReplaySeeking, ShowsTheScreenOfPlayingThereFromTheStart) {
    ASSERT_GT(game().outcome.ticks, 400u) << "the script's game is shorter than the seeks below";
    ASSERT_TRUE(game().header.switches[0] && game().header.switches[1]) << "vibration and sound are off";
    const uint32_t end = replay::kMaxTicks;
    const struct {
        const char* name;
        uint32_t playTo;
        uint32_t target;
    } cases[] = {{"forward", 40, 300}, {"back after playing past", 300, 120}, {"to the end", 40, end},
                 {"back from the end", end, 200}, {"to the start", 250, 0}, {"a tick on", 100, 101}};
    for (const auto& c : cases) {
        const Screen reference = watch({c.target});
        const uint32_t referenceTicks = replay::watchedTicks();
        const Screen afterSeek = watch({c.playTo, true, c.target});
        EXPECT_EQ(replay::watchedTicks(), referenceTicks) << c.name;
        EXPECT_TRUE(afterSeek == reference) << c.name << ": " << describeProgramState() << ": another screen than played to tick " << c.target;
        // Nothing sounded or shook once the seek began.
        const auto& log = plat::headless::log();
        for (size_t i = logAtSeek; i < log.size(); ++i) {
            EXPECT_TRUE(log[i].text.rfind("sound start", 0) != 0 && log[i].text.rfind("sound play", 0) != 0 &&
                        log[i].text != "vibrate start")
                << c.name << ": " << log[i].text;
        }
    }
}

}  // namespace
