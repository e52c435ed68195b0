// Test support for the game room: a fresh handset and program state, a game
// whose school waits out of reach, and a tick as the window procedure runs it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "game/frame.h"
#include "game/hunger.h"
#include "game/school_step.h"
#include "game/session.h"
#include "platform/headless/headless.h"
#include "platform/random.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"
#include "state/program_state.h"
#include "testing/program_reset.h"

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::reset();
        plat::resetWindowing();
        resetProgramValues();
        plat::seedRandom(1);
        game = newGameSession(0);
        ASSERT_NE(game, nullptr);
        gamePhase = kPhaseRunning;
    }
    void TearDown() override { delete game; }

    // Puts every school fish far below the water, standing still, so that only
    // the fish a test places itself can meet the player.
    void parkSchool() {
        for (int32_t i = 0; i < game->fishCount; ++i) setSchoolFish(*game->school[i], 0, 0, 100, 1000, 0);
    }
    // A standing fish of a class at a place.
    SchoolFish& placeFish(int slot, int32_t sizeClass, int32_t direction, int32_t x, int32_t y) {
        SchoolFish& fish = *game->school[slot];
        setSchoolFish(fish, sizeClass, direction, x, y, 0);
        return fish;
    }
    void setPlayer(int32_t sizeClass, int32_t x, int32_t y, int32_t facing) {
        game->player->sizeClass = sizeClass;
        game->player->speed = 5 - sizeClass;
        game->player->x = x;
        game->player->y = y;
        game->player->facing = facing;
    }
    // One game tick in Playing: the frame, then the hunger clock.
    void tick() {
        runGameFrame(*game, nullptr);
        hungerClock += hungerRate;
    }
    int logCount(const std::string& text) const {
        int count = 0;
        for (const auto& entry : plat::headless::log()) count += entry.text == text ? 1 : 0;
        return count;
    }

    GameSession* game = nullptr;
};

// A game whose school waits out of reach from the start.
class ParkedSchoolTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        parkSchool();
    }
};
