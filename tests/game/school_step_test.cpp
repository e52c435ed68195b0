// The school's step: who eats whom by bands, bodies and mouths, growth,
// re-entry at the edges and the parked eaten fish.
#include "game/scene.h"
#include "game_support.h"

class SchoolStepTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        parkSchool();
    }
};

TEST_F(SchoolStepTest, EqualClassesPassThroughEachOther) {
    setPlayer(2, 80, 90, 1);
    placeFish(0, 2, 0, 80, 90);
    placeFish(1, 2, 1, 80, 90);
    SchoolFish& swimmer = placeFish(2, 2, 0, 130, 92);
    swimmer.speed = 3;
    for (int i = 0; i < 40; ++i) stepSchool(*game);
    EXPECT_LT(swimmer.x, 20);  // it swam right through the player
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->player->alive, 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(game->school[i]->alive, 1);
}

TEST_F(SchoolStepTest, BandsSharingOneRowOverlap) {
    // Class 1 player at y 90: band rows 92..103. Class 0 fish: rows y+1..y+9.
    struct Case {
        int32_t fishY;
        bool eaten;
    };
    const Case cases[] = {{102, true}, {103, false}, {83, true}, {82, false}};
    for (const Case& c : cases) {
        setPlayer(1, 80, 90, 1);
        game->score = 0;
        SchoolFish& fish = placeFish(0, 0, 0, 90, c.fishY);
        stepSchool(*game);
        EXPECT_EQ(game->score, c.eaten ? 1 : 0) << "fish at y " << c.fishY;
        EXPECT_EQ(fish.alive, c.eaten ? 0 : 1) << "fish at y " << c.fishY;
    }
}

TEST_F(SchoolStepTest, PlayerMouthIsTheFrontHalfAndReachesOneColumnOnTheLeft) {
    // Class 1 player at x 80 (strip 36): facing right the mouth is columns
    // 89..97, facing left 79..89. A class-0 fish's body is x..x+12.
    struct Case {
        int32_t facing;
        int32_t fishX;
        bool eaten;
    };
    const Case cases[] = {
        {1, 97, true}, {1, 98, false},  // ahead, at the tip of the mouth
        {1, 76, false},                 // behind a right-facing player, overlapping its body
        {0, 67, true}, {0, 66, false},  // body ending at column 79, one left of the image
        {0, 90, false},                 // behind a left-facing player
    };
    for (const Case& c : cases) {
        setPlayer(1, 80, 90, c.facing);
        game->score = 0;
        SchoolFish& fish = placeFish(0, 0, 1, c.fishX, 95);
        stepSchool(*game);
        EXPECT_EQ(fish.alive, c.eaten ? 0 : 1) << "facing " << c.facing << " fish at x " << c.fishX;
    }
}

TEST_F(SchoolStepTest, LargerFishEatsWithTheMouthOnItsSwimmingSide) {
    // Class 3 fish (strip 72): swimming left its mouth is x-1..x+18, swimming
    // right x+18..x+35. The class-1 player's body at x 80 is 80..98.
    struct Case {
        int32_t direction;
        int32_t fishX;
        bool eats;
    };
    const Case cases[] = {{0, 99, true}, {0, 100, false}, {1, 45, true}, {1, 44, false}, {1, 81, false}};
    for (const Case& c : cases) {
        setPlayer(1, 80, 90, 1);
        game->player->alive = 1;
        placeFish(0, 3, c.direction, c.fishX, 85);
        stepSchool(*game);
        EXPECT_EQ(game->player->alive, c.eats ? 0 : 1) << "direction " << c.direction << " fish at x " << c.fishX;
    }
}

TEST_F(SchoolStepTest, TwoMealsInOneStepThenALaterFishEatsThePlayer) {
    vibrationEnabled = 1;
    setPlayer(2, 80, 90, 1);  // mouth 91..101, body 80..102, band 93..107
    const SchoolFish& first = placeFish(0, 0, 0, 92, 95);
    const SchoolFish& second = placeFish(1, 1, 1, 95, 92);
    placeFish(2, 3, 0, 101, 88);  // its mouth 100..119 reaches the player's body
    placeFish(3, 4, 0, 101, 85);  // would eat too, but the player is already gone
    stepSchool(*game);

    EXPECT_EQ(game->score, 2);
    EXPECT_EQ(first.alive, 0);
    EXPECT_EQ(second.alive, 0);
    EXPECT_EQ(second.eatenSizeClass, 1);
    EXPECT_EQ(second.eatenDirection, 1);
    EXPECT_EQ(second.eatenStripWidth, 34);
    EXPECT_EQ(game->player->alive, 0);
    // 20 + 2 * 10 = 40 is not enough to grow.
    EXPECT_EQ(foodStore, 40);
    EXPECT_EQ(satiety, 40);
    EXPECT_EQ(game->player->sizeClass, 2);
    EXPECT_EQ(hungerRate, 3);
    EXPECT_EQ(vibrationRunning, 1u);
    EXPECT_EQ(logCount("vibrate start"), 1);
}

TEST_F(SchoolStepTest, BeingEatenChangesNothingButTheFlagAndVibratesOnlyWhenEnabled) {
    vibrationEnabled = 0;
    setPlayer(1, 80, 90, 1);
    satiety = 2;
    foodStore = 20;
    hungerClock = 270;
    game->score = 5;
    placeFish(0, 3, 0, 99, 85);
    stepSchool(*game);
    EXPECT_EQ(game->player->alive, 0);
    EXPECT_EQ(vibrationRunning, 0u);
    EXPECT_EQ(logCount("vibrate start"), 0);
    EXPECT_EQ(game->score, 5);
    EXPECT_EQ(game->player->sizeClass, 1);
    EXPECT_EQ(satiety, 2);
    EXPECT_EQ(hungerClock, 270);
    EXPECT_EQ(gamePhase, kPhaseRunning);
}

TEST_F(SchoolStepTest, GrowthNeedsMoreThanFortyAndCountsForTheFishAfter) {
    struct Case {
        int32_t foodStoreBefore;
        int32_t hungerClockBefore;
        bool grows;
    };
    // satiety after the meal: 40, 41, 50 - 150 / 15 = 40, 50 - 135 / 15 = 41
    const Case cases[] = {{30, 0, false}, {31, 0, true}, {40, 150, false}, {40, 135, true}};
    for (const Case& c : cases) {
        setPlayer(1, 80, 90, 1);
        foodStore = c.foodStoreBefore;
        hungerClock = c.hungerClockBefore;
        hungerRate = 1;
        placeFish(0, 0, 0, 90, 95);
        stepSchool(*game);
        SCOPED_TRACE(c.foodStoreBefore);
        EXPECT_EQ(game->player->sizeClass, c.grows ? 2 : 1);
        EXPECT_EQ(game->player->speed, c.grows ? 3 : 4);
        EXPECT_EQ(foodStore, c.grows ? 20 : c.foodStoreBefore + 10);
        EXPECT_EQ(hungerClock, c.grows ? 0 : c.hungerClockBefore);
        EXPECT_EQ(hungerRate, 1);  // the rate of the class the meal was eaten at
    }

    // A growth in slot 0 makes the class-2 fish of slot 1 harmless and the
    // class-1 fish of slot 2 edible within the same step.
    setPlayer(1, 80, 90, 1);
    foodStore = 31;
    hungerClock = 0;
    game->score = 0;
    placeFish(0, 0, 0, 90, 95);
    placeFish(1, 2, 0, 99, 90);
    const SchoolFish& third = placeFish(2, 1, 0, 95, 92);
    stepSchool(*game);
    EXPECT_EQ(game->player->alive, 1);
    EXPECT_EQ(third.alive, 0);
    EXPECT_EQ(game->score, 2);
    EXPECT_EQ(hungerRate, 3);
}

TEST_F(SchoolStepTest, AtClassFourMealsFillBeyondFortyWithoutGrowth) {
    setPlayer(4, 60, 90, 1);
    foodStore = 40;
    hungerClock = 0;
    placeFish(0, 3, 1, 90, 95);
    stepSchool(*game);
    EXPECT_EQ(game->score, 1);
    EXPECT_EQ(game->player->sizeClass, 4);
    EXPECT_EQ(satiety, 50);
    EXPECT_EQ(hungerRate, 7);
}

TEST_F(SchoolStepTest, FishLeavingOnTheRightComesBackOnTheRightSwimmingLeft) {
    SchoolFish& fish = placeFish(0, 0, 1, 200, 60);
    fish.speed = 0;
    stepSchool(*game);
    EXPECT_EQ(fish.x, 200);  // 200 is still in the water

    // Seed 1: class 19169 % 5 = 4, x 15724 % 20 + 200, y 11478 % 160 + 20.
    plat::seedRandom(1);
    placeFish(0, 0, 1, 199, 60).speed = 2;
    stepSchool(*game);
    EXPECT_EQ(fish.direction, 0);
    EXPECT_EQ(fish.sizeClass, 4);
    EXPECT_EQ(fish.speed, 1);
    EXPECT_EQ(fish.stripWidth, 88);
    EXPECT_EQ(fish.x, 204);
    EXPECT_EQ(fish.y, 138);

    for (uint32_t seed = 2; seed < 300; ++seed) {
        plat::seedRandom(seed);
        placeFish(0, 1, 1, 199, 60).speed = 2;
        stepSchool(*game);
        ASSERT_EQ(fish.direction, 0) << "seed " << seed;
        EXPECT_TRUE(fish.x >= 200 && fish.x <= 219) << "seed " << seed << " x " << fish.x;
        EXPECT_TRUE(fish.y >= 20 && fish.y <= 179) << "seed " << seed << " y " << fish.y;
        EXPECT_EQ(fish.speed, speedForClass(fish.sizeClass));
    }
}

TEST_F(SchoolStepTest, FishLeavingOnTheLeftComesBackOnTheLeftSwimmingRight) {
    SchoolFish& fish = placeFish(0, 3, 0, -90, 60);
    stepSchool(*game);
    EXPECT_EQ(fish.x, -90);

    plat::seedRandom(1);
    placeFish(0, 3, 0, -89, 60).speed = 2;
    stepSchool(*game);
    EXPECT_EQ(fish.direction, 1);
    EXPECT_EQ(fish.x, -56);
    EXPECT_EQ(fish.y, 138);

    for (uint32_t seed = 2; seed < 300; ++seed) {
        plat::seedRandom(seed);
        placeFish(0, 3, 0, -89, 60).speed = 2;
        stepSchool(*game);
        ASSERT_EQ(fish.direction, 1) << "seed " << seed;
        EXPECT_TRUE(fish.x >= -60 && fish.x <= -41) << "seed " << seed << " x " << fish.x;
        EXPECT_TRUE(fish.y >= 20 && fish.y <= 179) << "seed " << seed << " y " << fish.y;
    }
}

TEST_F(SchoolStepTest, FishEatenSwimmingLeftIsReenteredAtOnceButStaysUnseenUntilItsSkeletonIsGone) {
    setPlayer(2, 80, 90, 1);
    SchoolFish& fish = placeFish(0, 0, 0, 96, 95);
    fish.speed = 4;
    stepSchool(*game);
    ASSERT_EQ(fish.alive, 0);
    drawSchoolFish(fish);
    EXPECT_EQ(fish.alive, 1);
    EXPECT_EQ(fish.eatenAnim, 1);
    EXPECT_EQ(fish.eatenX, 92);
    EXPECT_EQ(fish.eatenY, 95);
    EXPECT_EQ(fish.x, -100);
    EXPECT_EQ(fish.y, -100);

    game->player->x = 0;  // out of its way from now on
    stepSchool(*game);
    EXPECT_EQ(fish.direction, 1);
    EXPECT_TRUE(fish.x >= -60 && fish.x <= -41) << fish.x;
    EXPECT_GE(fish.y, 20);
    EXPECT_EQ(fish.eatenAnim, 1);
}

TEST_F(SchoolStepTest, FishEatenSwimmingRightDriftsAtTheParkingRowUntilItsSkeletonIsGone) {
    setPlayer(2, 80, 90, 0);  // facing left: mouth 79..91
    SchoolFish& fish = placeFish(0, 0, 1, 64, 95);
    fish.speed = 4;  // moves to 68: body 68..80
    stepSchool(*game);
    ASSERT_EQ(fish.alive, 0);
    drawSchoolFish(fish);
    for (int i = 0; i < 10; ++i) stepSchool(*game);
    EXPECT_EQ(fish.x, -60);
    EXPECT_EQ(fish.y, -100);
    EXPECT_EQ(fish.direction, 1);
    EXPECT_EQ(game->score, 1);
}
