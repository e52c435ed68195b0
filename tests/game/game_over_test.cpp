// The game-over message and the best score kept in slot 0.
#include <string>

#include "game_support.h"

class GameOverTest : public GameTest {
protected:
    std::u16string messageFor(int32_t score) {
        game->score = score;
        plat::Char message[kGameOverMessageSize];
        composeGameOverMessage(*game, message);
        return message;
    }
    void TearDown() override {
        scoreTable = nullptr;
        GameTest::TearDown();
    }
    ScoreTable table;
};

TEST_F(GameOverTest, LowerScoreNamesTheBestAndLeavesIt) {
    scoreTable = &table;
    table.bestScores[0] = 10;
    EXPECT_EQ(messageFor(5), u"You died of starvation!\nYour score 5\nThe best score 10");
    EXPECT_EQ(table.bestScores[0], 10);
}

TEST_F(GameOverTest, TieOrHigherScoreIsTheNewBestInSlotZeroOnly) {
    scoreTable = &table;
    table.bestScores[0] = 10;
    table.bestScores[1] = 50;
    table.bestScores[2] = 60;
    table.bestScores[3] = 70;
    EXPECT_EQ(messageFor(10), u"You died of starvation!\nYour score 10\nis the best");
    EXPECT_EQ(table.bestScores[0], 10);
    EXPECT_EQ(messageFor(12), u"You died of starvation!\nYour score 12\nis the best");
    EXPECT_EQ(table.bestScores[0], 12);
    EXPECT_EQ(table.bestScores[1], 50);
    EXPECT_EQ(table.bestScores[2], 60);
    EXPECT_EQ(table.bestScores[3], 70);
}

TEST_F(GameOverTest, HardGamesUseTheSameSlot) {
    delete game;
    game = newGameSession(1);
    scoreTable = &table;
    table.bestScores[1] = 100;
    EXPECT_EQ(messageFor(4), u"You died of starvation!\nYour score 4\nis the best");
    EXPECT_EQ(table.bestScores[0], 4);
    EXPECT_EQ(table.bestScores[1], 100);
}

TEST_F(GameOverTest, ExtremeNumbersFitTheMessage) {
    scoreTable = &table;
    table.bestScores[0] = INT32_MAX;
    EXPECT_EQ(messageFor(INT32_MIN),
              u"You died of starvation!\nYour score -2147483648\nThe best score 2147483647");
}

TEST_F(GameOverTest, WithoutAScoreTableTheScoreCountsAsTheBest) {
    scoreTable = nullptr;
    EXPECT_EQ(messageFor(3), u"You died of starvation!\nYour score 3\nis the best");
}

TEST_F(GameOverTest, ShowingTheBoxStopsTheVibrationFirst) {
    scoreTable = &table;
    vibrationRunning = 1;
    showGameOver(*game);
    ASSERT_FALSE(plat::headless::log().empty());
    EXPECT_EQ(plat::headless::log().front().text, "vibrate stop");
}
