// The pieces of game state that live in the picture: rising skeletons, the
// eaten fish's return, the player's return, the bubbles, and the count of a
// game's first frames (the soft-key captions show over them).
#include "game/scene.h"
#include "game_support.h"

using SceneAnimationTest = ParkedSchoolTest;

TEST_F(SceneAnimationTest, FishEatenAtRowHundredReturnsAfterFortyOneFrames) {
    setPlayer(2, 80, 90, 0);
    SchoolFish& fish = placeFish(0, 0, 1, 70, 100);
    runGameFrame(*game, nullptr);
    ASSERT_EQ(game->score, 1);
    // In the frame it is eaten its skeleton is already drawn where it was.
    EXPECT_EQ(fish.eatenX, 70);
    EXPECT_EQ(fish.eatenY, 96);
    EXPECT_EQ(fish.eatenAnim, 1);

    for (int frame = 2; frame <= 40; ++frame) runGameFrame(*game, nullptr);
    EXPECT_EQ(fish.eatenAnim, 1);
    EXPECT_EQ(fish.eatenY, -60);
    EXPECT_EQ(fish.y, -100);  // a right-swimmer drifts at the parking row

    // Seed 1 gives y 41 % 140 + 25 and direction 18467 % 2.
    plat::seedRandom(1);
    runGameFrame(*game, nullptr);  // frame 41
    EXPECT_EQ(fish.eatenAnim, 0);
    EXPECT_EQ(fish.eatenY, -64);
    EXPECT_EQ(fish.sizeClass, 0);
    EXPECT_EQ(fish.direction, 1);
    EXPECT_EQ(fish.x, -14);  // 10 - strip width: just outside the left edge
    EXPECT_EQ(fish.y, 66);
    EXPECT_EQ(fish.speed, 4);  // class 0 swims at 4, not 5 - class
    EXPECT_EQ(fish.alive, 1);
}

TEST_F(SceneAnimationTest, ReturningFishEntersFromTheEdgeItSwimsFrom) {
    for (uint32_t seed = 1; seed < 200; ++seed) {
        SchoolFish& fish = *game->school[0];
        setSchoolFish(fish, 3, 1, -100, -100, 0);
        fish.eatenAnim = 1;
        fish.eatenSizeClass = 3;
        fish.eatenStripWidth = 72;
        fish.eatenStripHeight = 25;
        fish.eatenY = -59;
        plat::seedRandom(seed);
        drawEaten(fish);
        ASSERT_EQ(fish.eatenAnim, 0);
        EXPECT_EQ(fish.x, fish.direction == 1 ? -62 : 272) << "seed " << seed;
        EXPECT_TRUE(fish.y >= 25 && fish.y <= 164) << "seed " << seed;
        EXPECT_EQ(fish.speed, 2);
    }
}

TEST_F(SceneAnimationTest, PlayerEatenAtRowHundredComesBackAtRowTwentyFiveAfterFortyTwoFrames) {
    setPlayer(1, 80, 100, 1);
    placeFish(0, 3, 1, 45, 95);
    runGameFrame(*game, nullptr);
    PlayerFish& player = *game->player;
    ASSERT_EQ(player.dying, 1);
    EXPECT_EQ(player.alive, 1);
    EXPECT_EQ(player.y, -100);
    EXPECT_EQ(player.deathX, 80);
    EXPECT_EQ(player.deathY, 96);

    for (int frame = 2; frame <= 41; ++frame) runGameFrame(*game, nullptr);
    EXPECT_EQ(player.dying, 1);
    EXPECT_EQ(player.deathY, -64);
    runGameFrame(*game, nullptr);  // frame 42
    EXPECT_EQ(player.dying, 0);
    EXPECT_EQ(player.deathY, -68);
    EXPECT_EQ(player.y, 25);
    EXPECT_EQ(player.x, 80);
    EXPECT_EQ(player.facing, 1);
    EXPECT_EQ(player.sizeClass, 1);
    EXPECT_EQ(game->score, 0);

    // -65 itself is not yet above -65.
    player.dying = 1;
    player.y = -100;
    player.deathY = -61;
    drawDeath(player);
    EXPECT_EQ(player.deathY, -65);
    EXPECT_EQ(player.dying, 1);
    EXPECT_EQ(player.y, -100);
    drawDeath(player);
    EXPECT_EQ(player.dying, 0);
}

TEST_F(SceneAnimationTest, BubblesRiseAndRegroupNearTheBottom) {
    for (int frame = 1; frame <= 44; ++frame) runGameFrame(*game, nullptr);
    EXPECT_EQ(game->bubbleCount, 1);
    EXPECT_EQ(game->bubbleY[0], -20);  // -20 is not yet above -20

    // Seed 1: 41 % 3 + 1 = 3 bubbles, then x, y and image for each. Bubbles 1
    // and 2 of the new group are drawn and risen in the same pass.
    plat::seedRandom(1);
    runGameFrame(*game, nullptr);
    EXPECT_EQ(game->bubbleCount, 3);
    EXPECT_EQ(game->bubbleX[0], 107);
    EXPECT_EQ(game->bubbleY[0], 194);
    EXPECT_EQ(game->bubbleX[1], 89);
    EXPECT_EQ(game->bubbleY[1], 159);
    EXPECT_EQ(game->bubbleX[2], 18);
    EXPECT_EQ(game->bubbleY[2], 177);
    EXPECT_EQ(game->bubbleFrame, 14);  // the last one drawn is shared

    for (int frame = 0; frame < 2000; ++frame) {
        runGameFrame(*game, nullptr);
        ASSERT_TRUE(game->bubbleCount >= 1 && game->bubbleCount <= 3);
        ASSERT_TRUE(game->bubbleFrame == 0 || game->bubbleFrame == 7 || game->bubbleFrame == 14);
        for (int32_t i = 0; i < game->bubbleCount; ++i) {
            ASSERT_TRUE(game->bubbleX[i] >= 0 && game->bubbleX[i] <= 179);
            ASSERT_TRUE(game->bubbleY[i] >= -20 && game->bubbleY[i] <= 219);
        }
    }
}

TEST_F(SceneAnimationTest, StartFramesCountsTheFirstSixtyFramesOnly) {
    for (int i = 0; i < 59; ++i) tick();
    EXPECT_EQ(startFrames, 59);
    tick();
    tick();
    tick();
    EXPECT_EQ(startFrames, 60);
}
