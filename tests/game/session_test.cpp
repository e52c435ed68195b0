// A new game's school, player and hunger values, and the player's moves.
#include "game_support.h"

using SessionTest = GameTest;

TEST_F(SessionTest, SchoolStartsJustOffScreenOnTheSideItSwimsInFrom) {
    // Seed 1 yields 41, 18467, 6334, 26500, 19169, 15724 for fish 0: class
    // 19169 % 5 = 4, direction 26500 % 2 = 0, y 18467 % 140 + 25, x 15724 % 20 + 200.
    const SchoolFish& first = *game->school[0];
    EXPECT_EQ(first.sizeClass, 4);
    EXPECT_EQ(first.direction, 0);
    EXPECT_EQ(first.x, 204);
    EXPECT_EQ(first.y, 152);
    EXPECT_EQ(first.speed, 1);
    const SchoolFish& third = *game->school[2];  // the first right-swimmer of the sequence
    EXPECT_EQ(third.sizeClass, 0);
    EXPECT_EQ(third.direction, 1);
    EXPECT_EQ(third.x, -48);
    EXPECT_EQ(third.y, 52);
    EXPECT_EQ(third.speed, 4);

    const int32_t speeds[5] = {4, 4, 3, 2, 1};
    for (int32_t i = 0; i < 7; ++i) {
        const SchoolFish& fish = *game->school[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(fish.alive, 1);
        EXPECT_EQ(fish.eatenAnim, 0);
        if (fish.direction == 1) {
            EXPECT_GE(fish.x, -50);
            EXPECT_LE(fish.x, -31);
        } else {
            EXPECT_GE(fish.x, 200);
            EXPECT_LE(fish.x, 219);
        }
        EXPECT_GE(fish.y, 25);
        EXPECT_LE(fish.y, 164);
        EXPECT_EQ(fish.speed, speeds[fish.sizeClass]);
        EXPECT_EQ(fish.stripWidth, kSchoolStripWidth[fish.sizeClass]);
    }

    // Six draws per fish and no more: the next value is the generator's 43rd.
    plat::seedRandom(1);
    int32_t expected = 0;
    for (int i = 0; i < 43; ++i) expected = plat::rand();
    delete game;
    plat::seedRandom(1);
    game = newGameSession(0);
    EXPECT_EQ(plat::rand(), expected);
}

TEST_F(SessionTest, PlacementStaysOffScreenForManySeeds) {
    for (uint32_t seed = 2; seed < 300; ++seed) {
        plat::seedRandom(seed);
        GameSession* other = newGameSession(0);
        ASSERT_NE(other, nullptr);
        for (int32_t i = 0; i < 7; ++i) {
            const SchoolFish& fish = *other->school[i];
            const bool outside = fish.direction == 1 ? fish.x >= -50 && fish.x <= -31 : fish.x >= 200 && fish.x <= 219;
            EXPECT_TRUE(outside) << "seed " << seed << " fish " << i << " x " << fish.x;
            EXPECT_TRUE(fish.y >= 25 && fish.y <= 164) << "seed " << seed << " fish " << i;
        }
        delete other;
    }
}

TEST_F(SessionTest, NewGameResetsPlayerBubblesAndHunger) {
    satiety = 3;
    foodStore = 55;
    hungerClock = 99;
    hungerRate = 7;
    gamePhase = kPhaseStarved;
    startFrames = 42;
    delete game;
    game = newGameSession(1);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->fishCount, 7);
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->player->x, 80);
    EXPECT_EQ(game->player->y, 90);
    EXPECT_EQ(game->player->sizeClass, 1);
    EXPECT_EQ(game->player->speed, 4);
    EXPECT_EQ(game->player->facing, 0);
    EXPECT_EQ(game->player->alive, 1);
    EXPECT_EQ(game->player->dying, 0);
    EXPECT_EQ(game->bubbleX[0], 50);
    EXPECT_EQ(game->bubbleY[0], 200);
    EXPECT_EQ(game->bubbleCount, 1);
    EXPECT_EQ(satiety, 20);
    EXPECT_EQ(foodStore, 20);
    EXPECT_EQ(hungerClock, 0);
    EXPECT_EQ(hungerRate, 1);
    EXPECT_EQ(hungerDivisor, 7);
    // The phase and the frame count belong to New game, not to the session.
    EXPECT_EQ(gamePhase, kPhaseStarved);
    EXPECT_EQ(startFrames, 42);

    for (int32_t difficulty : {0, 2, -1}) {
        delete game;
        game = newGameSession(difficulty);
        EXPECT_EQ(hungerDivisor, 15) << "difficulty " << difficulty;
    }
}

TEST_F(SessionTest, PlayerAndSchoolTablesDifferInClassesOneAndFour) {
    EXPECT_EQ(game->player->stripWidth[1], 36);
    EXPECT_EQ(game->player->stripWidth[4], 94);
    SchoolFish& fish = placeFish(0, 1, 0, 0, 0);
    EXPECT_EQ(fish.stripWidth, 34);
    placeFish(0, 4, 0, 0, 0);
    EXPECT_EQ(fish.stripWidth, 88);
    EXPECT_EQ(fish.stripHeight, 30);
    // An unknown class keeps the strip it had.
    setSchoolFish(fish, 9, 1, 5, 6, 2);
    EXPECT_EQ(fish.stripWidth, 88);
    EXPECT_EQ(fish.sizeClass, 9);
}

TEST_F(SessionTest, DestroyingASessionEndsTheVibrationCountButMakesNoCall) {
    vibrationRunning = 1;
    delete game;
    game = nullptr;
    EXPECT_EQ(vibrationRunning, 0u);
    EXPECT_EQ(logCount("vibrate stop"), 0);
}

TEST_F(SessionTest, MovesStopAtTheWaterEdges) {
    PlayerFish& player = *game->player;
    setPlayer(4, 120, 100, 0);
    for (int i = 0; i < 20; ++i) player.moveRight();
    EXPECT_EQ(player.x, 128);  // 175 - 94 / 2
    EXPECT_EQ(player.facing, 1);
    for (int i = 0; i < 80; ++i) player.moveDown();
    EXPECT_EQ(player.y, 168);

    setPlayer(1, 150, 170, 0);
    for (int i = 0; i < 5; ++i) player.moveRight();
    EXPECT_EQ(player.x, 157);
    for (int i = 0; i < 5; ++i) player.moveDown();
    EXPECT_EQ(player.y, 183);
    for (int i = 0; i < 60; ++i) player.moveUp();
    EXPECT_EQ(player.y, 21);
    EXPECT_EQ(player.facing, 1);  // vertical moves keep the facing
    for (int i = 0; i < 60; ++i) player.moveLeft();
    EXPECT_EQ(player.x, 0);
    EXPECT_EQ(player.facing, 0);

    // Each call moves by the class's speed.
    setPlayer(2, 50, 50, 0);
    player.moveRight();
    player.moveRight();
    EXPECT_EQ(player.x, 56);
}

TEST_F(SessionTest, GrowingNearTheEdgeOverhangsUntilTheNextMove) {
    PlayerFish& player = *game->player;
    setPlayer(1, 157, 183, 1);
    player.sizeClass = 2;
    player.speed = 3;
    EXPECT_EQ(player.x, 157);
    player.moveRight();
    EXPECT_EQ(player.x, 153);  // 175 - 44 / 2
    player.moveDown();
    EXPECT_EQ(player.y, 178);
}

TEST_F(SessionTest, DyingPlayerCannotMoveOrTurn) {
    PlayerFish& player = *game->player;
    setPlayer(2, 60, 70, 1);
    player.dying = 1;
    player.moveLeft();
    player.moveUp();
    player.moveDown();
    player.moveRight();
    EXPECT_EQ(player.x, 60);
    EXPECT_EQ(player.y, 70);
    player.moveLeft();
    EXPECT_EQ(player.facing, 1);
}
