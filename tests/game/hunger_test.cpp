// Hunger over the ticks: satiety falling, shrinking one frame after it
// empties, the rates after a shrink, and starvation at the smallest class.
#include "game_support.h"

class HungerTest : public ParkedSchoolTest {
protected:
    // Ticks until the game has ended; the number of the frame it ended in.
    int ticksUntilStarved(int limit) {
        for (int frame = 1; frame <= limit; ++frame) {
            tick();
            if (gamePhase == kPhaseStarved) return frame;
        }
        return -1;
    }
};

TEST_F(HungerTest, ClassOneStarvesOnEasyAfterThreeHundredTicks) {
    // One point every 15 ticks from 20: satiety is 0 in the frame after the
    // 300th tick.
    EXPECT_EQ(ticksUntilStarved(1000), 301);
    EXPECT_EQ(satiety, 0);
    EXPECT_EQ(gameOverShown, 1);
    EXPECT_EQ(gameEnded, 1);
    EXPECT_EQ(logCount("vibrate stop"), 1);
}

TEST_F(HungerTest, ClassOneStarvesOnHardAfterHundredFortyTicks) {
    delete game;
    plat::seedRandom(1);
    game = newGameSession(1);
    parkSchool();
    EXPECT_EQ(ticksUntilStarved(1000), 141);
}

TEST_F(HungerTest, SatietyIsRecomputedEveryFrameFromTheClock) {
    for (int frame = 1; frame <= 31; ++frame) tick();
    // 31 frames saw clocks 0..30: the last one computed 20 - 30 / 15.
    EXPECT_EQ(satiety, 18);
    EXPECT_EQ(gamePhase, kPhaseRunning);
}

TEST_F(HungerTest, LargerClassesShrinkOneFrameAfterSatietyEmptiesWithTheRateOneLess) {
    game->player->sizeClass = 3;
    game->player->speed = 2;
    hungerRate = 5;
    // Satiety in frame n is 20 - 5 * (n - 1) / 15: 0 first in frame 61.
    for (int frame = 1; frame <= 61; ++frame) tick();
    EXPECT_EQ(satiety, 0);
    EXPECT_EQ(game->player->sizeClass, 3);
    EXPECT_EQ(gamePhase, kPhaseRunning);

    tick();  // frame 62
    EXPECT_EQ(game->player->sizeClass, 2);
    EXPECT_EQ(game->player->speed, 3);
    EXPECT_EQ(hungerRate, 4);  // one less than before, not the class-2 table value 3
    EXPECT_EQ(foodStore, 20);
    EXPECT_EQ(satiety, 20);
    EXPECT_EQ(hungerClock, 4);  // reset in the frame, then the tick's 4

    // At rate 4 the clock needs 300 for satiety 0: 75 ticks, then one more frame.
    int frame = 62;
    while (game->player->sizeClass == 2 && frame < 400) {
        tick();
        ++frame;
    }
    EXPECT_EQ(frame, 62 + 76);
    EXPECT_EQ(game->player->sizeClass, 1);
    EXPECT_EQ(hungerRate, 3);
    tick();
    EXPECT_EQ(hungerRate, 1);  // class 1 always has rate 1
    EXPECT_EQ(gamePhase, kPhaseRunning);
}

TEST_F(HungerTest, ShrinkingRateNeverFallsBelowOne) {
    // Grown from class 1, the rate stays 1 until the next meal.
    game->player->sizeClass = 2;
    game->player->speed = 3;
    hungerRate = 1;
    satiety = 0;
    updateHunger(*game);
    EXPECT_EQ(hungerRate, 1);
    EXPECT_EQ(game->player->sizeClass, 1);
    EXPECT_EQ(satiety, 20);
}

TEST_F(HungerTest, ClassOneEndsTheGameInTheFrameSatietyEmpties) {
    foodStore = 20;
    hungerClock = 15 * 20;
    updateHunger(*game);
    EXPECT_EQ(satiety, 0);
    EXPECT_EQ(gamePhase, kPhaseStarved);
    EXPECT_EQ(game->player->sizeClass, 1);
}

TEST_F(HungerTest, EndedGameFreezesTheSchoolAndTheBubbles) {
    SchoolFish& fish = placeFish(0, 2, 0, 150, 1000);
    fish.speed = 3;
    gamePhase = kPhaseStarved;
    const int32_t bubbleY = game->bubbleY[0];
    runGameFrame(*game, nullptr);
    EXPECT_EQ(fish.x, 150);
    EXPECT_EQ(game->bubbleY[0], bubbleY);
    EXPECT_EQ(gameOverShown, 1);
    gamePhase = kPhaseRunning;
    runGameFrame(*game, nullptr);
    EXPECT_EQ(fish.x, 147);
    EXPECT_EQ(game->bubbleY[0], bubbleY - 5);
}
