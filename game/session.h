// One game: the school of seven fish, the player's fish, the score and the
// bubbles. Every new game resets the hunger values (state/program_state.h).
#pragma once

#include <cstdint>

#include "state/program_state.h"

// Strip sizes by size class 0..4. A strip holds the fish facing right in its
// left half and facing left in its right half.
constexpr int32_t kPlayerStripWidth[5] = {24, 36, 44, 72, 94};
constexpr int32_t kPlayerStripHeight[5] = {10, 15, 20, 25, 30};
constexpr int32_t kSchoolStripWidth[5] = {24, 34, 44, 72, 88};
constexpr int32_t kSchoolStripHeight[5] = {10, 15, 20, 25, 30};

// School speed: 4 for class 0, otherwise 5 minus the class.
int32_t speedForClass(int32_t sizeClass);

struct PlayerFish {
    int32_t x = 0;
    int32_t y = 0;
    int32_t facing = 0;  // 0 left, 1 right
    int32_t stripWidth[5];
    int32_t stripHeight[5];
    int32_t sizeClass = 1;
    uint8_t alive = 1;
    uint8_t dying = 0;
    int32_t speed = 4;  // always 5 - sizeClass
    int32_t deathX = 0;
    int32_t deathY = 0;

    PlayerFish();
    void moveLeft();
    void moveRight();
    void moveUp();
    void moveDown();
};

struct SchoolFish {
    int32_t x = 0;
    int32_t y = 0;
    int32_t sizeClass = 0;
    int32_t speed = 0;
    int32_t direction = 0;  // 0 swimming left, 1 swimming right
    int32_t stripWidth = 0;
    int32_t stripHeight = 0;
    uint8_t alive = 0;
    int32_t eatenX = 0;
    int32_t eatenY = 0;
    uint8_t eatenAnim = 0;
    int32_t eatenDirection = 0;
    int32_t eatenSizeClass = 0;
    int32_t eatenStripWidth = 0;
    int32_t eatenStripHeight = 0;
};

void setSchoolFish(SchoolFish& fish, int32_t sizeClass, int32_t direction, int32_t x, int32_t y, int32_t speed);

struct GameSession {
    int32_t fishCount = 7;
    int32_t score = 0;
    int32_t difficulty = 0;  // 1 hard, anything else easy
    int32_t bubbleX[10] = {};
    int32_t bubbleY[10] = {};
    int32_t bubbleFrame = 0;  // 0, 7 or 14
    int32_t bubbleCount = 1;
    SchoolFish* school[100] = {};
    PlayerFish* player = nullptr;

    explicit GameSession(int32_t difficulty);
    ~GameSession();
    GameSession(const GameSession&) = delete;
    GameSession& operator=(const GameSession&) = delete;

    // Every fish was allocated (a session that is not complete is never used).
    bool isComplete() const;
};

// Five draws give a fish its speed, y, x, direction and class (in that order
// of drawing); its speed is then the one of its class.
void drawRandomSchoolFish(SchoolFish& fish);

void placeSchool(GameSession& game);

// Creates a session, or returns null when it cannot be had (never throws).
GameSession* newGameSession(int32_t difficulty);
