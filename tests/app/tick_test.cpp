// The 50 ms tick: keypad polling, the vibration countdown, the music and the
// end of a starved game.
#include <gtest/gtest.h>

#include <string>

#include "app/first_paint.h"
#include "app/tick.h"
#include "game/session.h"
#include "media/sound_bank.h"
#include "media/surfaces.h"
#include "platform/headless/headless.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "state/program_state.h"
#include "testing/program_reset.h"

namespace {

class Tick : public ::testing::Test {
protected:
    void SetUp() override {
        plat::resetWindowing();
        plat::headless::reset();
        resetProgram();
        ASSERT_NE(currentGame, nullptr);
        player = currentGame->player;
    }
    void TearDown() override {
        releaseSurfaces(nullptr);
        plat::headless::reset();
        resetProgram();
    }
    void hold(std::initializer_list<uint32_t> keys) {
        for (uint32_t k : keys) plat::setKeyHeld(k, true);
    }
    int count(const std::string& text) const {
        int n = 0;
        for (const auto& e : plat::headless::log()) n += e.text == text;
        return n;
    }
    PlayerFish* player = nullptr;
};

}  // namespace

TEST_F(Tick, OnlyTheFirstHeldArrowMoves) {
    hold({plat::kKeyLeft, plat::kKeyRight, plat::kKeyUp});
    runTick();
    EXPECT_EQ(player->x, 76);
    EXPECT_EQ(player->y, 90);
    EXPECT_EQ(player->facing, 0);
}

TEST_F(Tick, EveryHeldDigitMovesAndAddsToTheArrow) {
    hold({'4', '6'});
    runTick();
    EXPECT_EQ(player->x, 80) << "left then right in one tick";
    EXPECT_EQ(player->facing, 1) << "right came last";
    plat::headless::reset();
    hold({plat::kKeyUp, '2'});
    runTick();
    EXPECT_EQ(player->y, 82) << "the up arrow and '2' move twice";
}

TEST_F(Tick, APartlySetKeyReadingMovesNothing) {
    plat::setKeyReading(plat::kKeyLeft, 0x8000);
    plat::setKeyReading('8', 0x0001);
    runTick();
    EXPECT_EQ(player->x, 80);
    EXPECT_EQ(player->y, 90);
}

TEST_F(Tick, NoPollingOnceAnEndedGameIsShown) {
    gameOverShown = 1;
    hold({plat::kKeyLeft, '8'});
    runTick();
    EXPECT_EQ(player->x, 80);
    EXPECT_EQ(player->y, 90);
}

TEST_F(Tick, VibrationStopsOnTheFifthCountedTickAndTheCountIsNotResetByANewGame) {
    vibrationRunning = 1;
    for (int i = 0; i < 4; ++i) runTick();
    EXPECT_EQ(count("vibrate stop"), 0);
    runTick();
    EXPECT_EQ(count("vibrate stop"), 1);
    EXPECT_EQ(vibrationRunning, 0u);
    EXPECT_EQ(vibrationTicks, 0u);

    // Three ticks counted, then the session goes: the next vibration stops
    // after two more.
    vibrationRunning = 1;
    for (int i = 0; i < 3; ++i) runTick();
    delete currentGame;
    currentGame = newGameSession(0);
    EXPECT_EQ(vibrationRunning, 0u);
    vibrationRunning = 1;
    runTick();
    EXPECT_EQ(count("vibrate stop"), 1);
    runTick();
    EXPECT_EQ(count("vibrate stop"), 2);
}

TEST_F(Tick, MusicRestartsEvery180PlayedTicksOnlyWithSoundOn) {
    soundBank = newSoundBank();
    ASSERT_NE(soundBank, nullptr);
    createSurfaces(nullptr);
    screenController.state = Playing;
    gamePhase = kPhaseRunning;
    startFrames = 60;
    musicTicks = 180;
    runTick();
    EXPECT_EQ(musicTicks, 180u) << "sound off: the count stands still";
    EXPECT_EQ(hungerClock, 1) << "the hunger clock runs after the frame";

    screenController.flags[kSoundSwitch] = 1;
    int starts = 0;
    for (int i = 0; i < 361; ++i) {
        foodStore = 30;  // never hungry: the game must not end under the test
        runTick();
        for (const auto& e : plat::headless::log()) starts += e.text == "sound start FLARE";
        plat::headless::clearLog();
    }
    EXPECT_EQ(gamePhase, kPhaseRunning);
    EXPECT_EQ(starts, 3) << "ticks 1, 181 and 361";
}

TEST_F(Tick, AStarvedGameEndsOnceWithTheClickWhenSoundIsOn) {
    soundBank = newSoundBank();
    screenController.flags[kSoundSwitch] = 1;
    mainWindow = nullptr;
    gamePhase = kPhaseStarved;
    runTick();
    EXPECT_EQ(gamePhase, kPhaseIdle);
    EXPECT_EQ(gameOverShown, 1);
    EXPECT_EQ(gameEnded, 1);
    EXPECT_EQ(count("sound play DEF"), 1);
    EXPECT_EQ(count("timer 100 stop"), 0) << "no window, no timer to stop";
    runTick();
    EXPECT_EQ(count("sound play DEF"), 1) << "the end is handled once";
}
