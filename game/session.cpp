// The game session and its fish: construction, the school's placement at the
// start of a game and the hunger values every new game resets.
#include "game/session.h"

#include <new>

#include "platform/random.h"
#include "state/program_state.h"

int32_t speedForClass(int32_t sizeClass) { return sizeClass == 0 ? 4 : 5 - sizeClass; }

PlayerFish::PlayerFish() {
    for (int i = 0; i < 5; ++i) {
        stripWidth[i] = kPlayerStripWidth[i];
        stripHeight[i] = kPlayerStripHeight[i];
    }
}

void setSchoolFish(SchoolFish& fish, int32_t sizeClass, int32_t direction, int32_t x, int32_t y, int32_t speed) {
    fish.x = x;
    fish.alive = 1;
    fish.y = y;
    if (sizeClass >= 0 && sizeClass <= 4) {
        fish.stripWidth = kSchoolStripWidth[sizeClass];
        fish.stripHeight = kSchoolStripHeight[sizeClass];
    }
    fish.sizeClass = sizeClass;
    fish.speed = speed;
    fish.direction = direction;
}

void drawRandomSchoolFish(SchoolFish& fish) {
    // The draws are taken one by one: their order is part of the game.
    const int32_t r1 = plat::rand();
    const int32_t r2 = plat::rand();
    const int32_t r3 = plat::rand();
    const int32_t r4 = plat::rand();
    const int32_t r5 = plat::rand();
    setSchoolFish(fish, r5 % 5, r4 % 2, -40 - r3 % 15, r2 % 140 + 25, r1 % 2 + 1);
    fish.speed = speedForClass(fish.sizeClass);
}

void placeSchool(GameSession& game) {
    for (int32_t i = 0; i < game.fishCount; ++i) {
        SchoolFish& fish = *game.school[i];
        fish.alive = 1;
        drawRandomSchoolFish(fish);
        const int32_t r6 = plat::rand();
        // Each fish waits just outside the edge it swims in from.
        fish.x = fish.direction == 1 ? r6 % 20 - 50 : r6 % 20 + 200;
    }
}

GameSession::GameSession(int32_t difficultyLevel) {
    fishCount = 7;
    score = 0;
    // Everything is allocated before anything is drawn or reset, so a session
    // that cannot be completed leaves the generator and the hunger values alone.
    for (int32_t i = 0; i < fishCount; ++i) school[i] = new (std::nothrow) SchoolFish;
    player = new (std::nothrow) PlayerFish;
    if (!isComplete()) return;

    placeSchool(*this);
    bubbleX[0] = 50;
    bubbleY[0] = 200;
    bubbleCount = 1;
    bubbleFrame = 0;
    player->x = 80;
    player->y = 90;
    difficulty = difficultyLevel;

    satiety = 20;
    hungerClock = 0;
    foodStore = 20;
    hungerDivisor = difficulty == 1 ? 7 : 15;
    hungerRate = 1;
}

GameSession::~GameSession() {
    vibrationRunning = 0;
    for (SchoolFish*& fish : school) {
        delete fish;
        fish = nullptr;
    }
    delete player;
    player = nullptr;
}

bool GameSession::isComplete() const {
    if (!player) return false;
    for (int32_t i = 0; i < fishCount; ++i) {
        if (!school[i]) return false;
    }
    return true;
}

GameSession* newGameSession(int32_t difficulty) {
    GameSession* game = new (std::nothrow) GameSession(difficulty);
    if (!game) return nullptr;
    if (!game->isComplete()) {
        // A session that never came to be must not stop the running game's
        // vibration bookkeeping.
        const uint32_t runningBefore = vibrationRunning;
        delete game;
        vibrationRunning = runningBefore;
        return nullptr;
    }
    return game;
}

// The program starts with a session at difficulty 0, made before the main
// routine.
[[maybe_unused]] static const bool firstSessionMade = (currentGame = newGameSession(0), true);
