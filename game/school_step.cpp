// The school's step: every fish swims, re-enters when it has left the water,
// and meets the player by the band, body and mouth tests.
#include "game/school_step.h"

#include <cstdint>

#include "platform/random.h"
#include "platform/sound.h"
#include "state/program_state.h"

namespace {

// A closed run of pixel columns or rows.
struct Span {
    int32_t low;
    int32_t high;
};

bool overlaps(Span a, Span b) { return a.low <= b.high && b.low <= a.high; }

// The drawn height trimmed by class + 1 rows at the top and class rows below.
Span verticalBand(int32_t y, int32_t stripHeight, int32_t sizeClass) {
    return {y + sizeClass + 1, y + stripHeight - sizeClass - 1};
}

// One column wider than the drawn image.
Span body(int32_t x, int32_t stripWidth) { return {x, x + stripWidth / 2}; }

// The front half of the drawn image; on the left it reaches one column beyond.
Span mouth(int32_t x, int32_t stripWidth, int32_t facingRight) {
    const int32_t quarter = stripWidth / 4;
    if (facingRight == 1) return {x + quarter, x + stripWidth / 2 - 1};
    return {x - 1, x + quarter};
}

// Hunger rate by the player's class at the moment of a meal.
constexpr int32_t kHungerRateForClass[5] = {1, 1, 3, 5, 7};

void reenter(SchoolFish& fish, bool leftOnTheRight) {
    drawRandomSchoolFish(fish);
    fish.direction = leftOnTheRight ? 0 : 1;
    const int32_t r6 = plat::rand();
    fish.x = leftOnTheRight ? r6 % 20 + 200 : r6 % 20 - 60;
    const int32_t r7 = plat::rand();
    fish.y = r7 % 160 + 20;
}

void swim(SchoolFish& fish) {
    if (fish.direction == 1) {
        fish.x += fish.speed;
        if (fish.x > 200) reenter(fish, true);
    } else {
        fish.x -= fish.speed;
        if (fish.x < -90) reenter(fish, false);
    }
}

void playerEats(GameSession& game, SchoolFish& fish) {
    PlayerFish& player = *game.player;
    game.score += 1;
    fish.alive = 0;
    fish.eatenDirection = fish.direction;
    fish.eatenSizeClass = fish.sizeClass;
    fish.eatenStripWidth = fish.stripWidth;
    fish.eatenStripHeight = fish.stripHeight;
    hungerRate = kHungerRateForClass[player.sizeClass];
    foodStore += 10;
    satiety = foodStore - hungerClock / hungerDivisor;
    if (satiety > 40 && player.sizeClass < 4) {
        player.sizeClass += 1;
        player.speed -= 1;
        foodStore = 20;
        hungerClock = 0;
    }
}

void playerIsEaten(PlayerFish& player) {
    player.alive = 0;
    if (vibrationEnabled == 1) {
        vibrationRunning = 1;
        plat::startVibration();
    }
}

}  // namespace

void stepSchool(GameSession& game) {
    PlayerFish& player = *game.player;
    for (int32_t i = 0; i < game.fishCount; ++i) {
        SchoolFish& fish = *game.school[i];
        if (fish.alive) swim(fish);
        if (!fish.alive || !player.alive || fish.sizeClass == player.sizeClass) continue;

        const int32_t playerWidth = player.stripWidth[player.sizeClass];
        const int32_t playerHeight = player.stripHeight[player.sizeClass];
        if (!overlaps(verticalBand(player.y, playerHeight, player.sizeClass),
                      verticalBand(fish.y, fish.stripHeight, fish.sizeClass))) {
            continue;
        }
        if (player.sizeClass < fish.sizeClass) {
            if (overlaps(mouth(fish.x, fish.stripWidth, fish.direction), body(player.x, playerWidth))) {
                playerIsEaten(player);
            }
        } else if (overlaps(mouth(player.x, playerWidth, player.facing), body(fish.x, fish.stripWidth))) {
            playerEats(game, fish);
        }
    }
}
