// New game, leaving, pausing and resuming a game, the lock after a game has
// ended, and Exit writing the settings.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "screen_fixture.h"
#include "support/files.h"

// While set, every allocation that may fail quietly fails: a new game whose
// session cannot be had.
static bool failQuietAllocations = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (failQuietAllocations) return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace screens_test {
namespace {

using GameFlowTest = ScreensTest;

// Index of the first log entry with this text at or after `from`, or -1.
int findCall(const std::string& text, size_t from = 0) {
    const auto& log = plat::headless::log();
    for (size_t i = from; i < log.size(); ++i) {
        if (log[i].text == text) return static_cast<int>(i);
    }
    return -1;
}

TEST_F(GameFlowTest, NewGameStartsAFreshSessionAfterTheGetReadyCard) {
    c.flags[kVibrateSwitch] = 1;
    c.flags[kSoundSwitch] = 1;
    c.flags[kLevelSwitch] = 1;
    gameEnded = 1;
    gamePhase = 0;
    startFrames = 60;
    vibrationEnabled = 0;
    GameSession* old = currentGame;
    const uint64_t start = plat::headless::now();

    startGame();

    EXPECT_NE(currentGame, old);
    ASSERT_NE(currentGame, nullptr);
    EXPECT_EQ(currentGame->difficulty, 1) << "the level switch chooses the difficulty";
    EXPECT_EQ(gameEnded, 0);
    EXPECT_EQ(gamePhase, kPhaseRunning);
    EXPECT_EQ(vibrationEnabled, 1);
    EXPECT_EQ(musicTicks, 180u);
    EXPECT_EQ(startFrames, 1) << "counted from 0, and render drew one frame";

    const int click = findCall("sound play DEF");
    const int timer = findCall("timer 100 start 50");
    ASSERT_GE(click, 0);
    ASSERT_GT(timer, click);
    const auto& log = plat::headless::log();
    // The click, the 100 ms pause and the 3-second card, then the timer.
    EXPECT_GE(log[timer].time - log[click].time, 3100u);
    EXPECT_GE(log[click].time, start);

    c.state = MainMenu;
    c.onLeftSoftKey();
    EXPECT_EQ(c.state, TitlePicture) << "no game has ended since New game";
}

TEST_F(GameFlowTest, NewGameAtTheEasyLevelFromTheGameMenuDiscardsTheSuspendedGame) {
    startGame();
    c.onLeftSoftKey();  // MENU
    ASSERT_EQ(c.state, GameMenu);
    currentGame->score = 17;
    c.flags[kLevelSwitch] = 0;
    c.cursor = 0;
    c.onSelect();
    EXPECT_EQ(c.state, Playing);
    EXPECT_EQ(currentGame->score, 0);
    EXPECT_EQ(currentGame->difficulty, 0);
}

TEST_F(GameFlowTest, NewGameThatCannotBeMadeKeepsTheMenuAndTheOldGame) {
    for (int32_t menu : {MainMenu, GameMenu}) {
        c.state = menu;
        c.cursor = 0;
        gameEnded = 1;
        gamePhase = 0;
        GameSession* old = currentGame;
        const uint64_t before = plat::headless::now();
        plat::headless::clearLog();

        failQuietAllocations = true;
        c.onSelect();
        failQuietAllocations = false;

        EXPECT_EQ(c.state, menu);
        EXPECT_EQ(currentGame, old);
        EXPECT_EQ(gameEnded, 1) << "BACK still shows the ended game";
        EXPECT_EQ(gamePhase, 0u);
        EXPECT_FALSE(called("timer 100 start 50"));
        EXPECT_EQ(plat::headless::now() - before, 100u) << "the pause before the new game, no card";
    }
}

TEST_F(GameFlowTest, MenuLeavesTheGameStoppingMusicAndTimerAndBackResumes) {
    c.flags[kSoundSwitch] = 1;
    startGame();
    musicTicks = 42;
    c.cursor = 3;
    plat::headless::clearLog();
    c.onLeftSoftKey();  // MENU
    EXPECT_EQ(c.state, GameMenu);
    EXPECT_EQ(c.cursor, 0);
    EXPECT_EQ(musicTicks, 180u);
    EXPECT_TRUE(called("sound stop"));
    EXPECT_TRUE(called("timer 100 stop"));

    musicTicks = 5;
    plat::headless::clearLog();
    c.onLeftSoftKey();  // BACK
    EXPECT_EQ(c.state, Playing);
    EXPECT_EQ(musicTicks, 180u) << "the music starts again on the next tick";
    EXPECT_TRUE(called("timer 100 start 50"));

    c.flags[kSoundSwitch] = 0;
    musicTicks = 42;
    plat::headless::clearLog();
    c.onLeftSoftKey();  // MENU with Sound off: the music count stays
    EXPECT_EQ(musicTicks, 42u);
    EXPECT_FALSE(called("sound stop"));
    EXPECT_TRUE(called("timer 100 stop"));
}

TEST_F(GameFlowTest, PauseAndResume) {
    startGame();
    plat::headless::clearLog();
    c.onRightSoftKey();  // PAUSE
    EXPECT_EQ(c.state, Paused);
    EXPECT_TRUE(called("timer 100 stop"));

    musicTicks = 3;
    plat::headless::clearLog();
    c.onRightSoftKey();  // RESUME
    EXPECT_EQ(c.state, Playing);
    EXPECT_EQ(musicTicks, 180u);
    EXPECT_TRUE(called("timer 100 start 50"));
}

TEST_F(GameFlowTest, MenuFromAPausedGameStopsTheTimerOnlyWithSoundOn) {
    startGame();
    c.onRightSoftKey();  // PAUSE
    // The window regained the focus meanwhile: the timer runs again.
    plat::startTimer(mainWindow, kGameTimerId, kGameTimerPeriodMs);
    plat::headless::clearLog();
    c.onLeftSoftKey();
    EXPECT_EQ(c.state, GameMenu);
    EXPECT_FALSE(called("timer 100 stop"));

    c.flags[kSoundSwitch] = 1;
    c.onLeftSoftKey();  // BACK
    c.onRightSoftKey();  // PAUSE
    plat::startTimer(mainWindow, kGameTimerId, kGameTimerPeriodMs);
    plat::headless::clearLog();
    c.onLeftSoftKey();
    EXPECT_EQ(c.state, GameMenu);
    EXPECT_TRUE(called("sound stop"));
    EXPECT_TRUE(called("timer 100 stop"));
    EXPECT_EQ(musicTicks, 180u);
}

TEST_F(GameFlowTest, AnEndedGameOnlyAnswersMenuAndBackShowsItAgain) {
    c.flags[kSoundSwitch] = 1;
    startGame();
    // The tick has seen the player starve.
    plat::stopTimer(mainWindow, kGameTimerId);
    gameOverShown = 1;
    gameEnded = 1;
    gamePhase = 0;

    plat::headless::clearLog();
    c.onRightSoftKey();
    c.onSelect();
    c.onDown();
    EXPECT_EQ(c.state, Playing);
    EXPECT_FALSE(called("timer 100 stop"));
    EXPECT_FALSE(called("timer 100 start 50"));
    EXPECT_EQ(clicks(), 0);

    c.cursor = 3;
    c.onLeftSoftKey();  // MENU
    EXPECT_EQ(c.state, MainMenu);
    EXPECT_EQ(c.cursor, 0) << "\"New\" is highlighted";
    EXPECT_EQ(gameOverShown, 0);

    c.onLeftSoftKey();  // BACK: the ended game again, keys locked
    EXPECT_EQ(c.state, Playing);
    EXPECT_EQ(gameOverShown, 1);
    // Drawing the ended game again may mark the player starved once more.
    gamePhase = kPhaseStarved;
    c.onLeftSoftKey();  // MENU
    EXPECT_EQ(c.state, MainMenu);
    EXPECT_EQ(gameOverShown, 0);
    EXPECT_EQ(gamePhase, kPhaseIdle) << "a stale end of game would lock the menu on the next tick";

    c.onDown();
    EXPECT_EQ(c.cursor, 1) << "the menu answers the keys";
}

std::string savedText(const std::filesystem::path& path) {
    const std::string bytes = test_files::readFile(path);
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) text += bytes[i];  // UTF-16LE of ASCII
    return text;
}

TEST_F(GameFlowTest, ExitWritesTheSwitchesAndEveryBestScoreAndQuits) {
    const std::filesystem::path folder = std::filesystem::path(FINGULP_BINARY_DIR) / "screens_exit_test";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "config.ini";
    std::filesystem::remove(file);
    const std::u16string path = file.u16string();
    ASSERT_LT(path.size(), 255u);
    std::copy(path.begin(), path.end(), configPath);

    const uint8_t flags[6] = {1, 0, 1, 0, 1, 0};
    std::copy(flags, flags + 6, c.flags);
    optionsDraft[kSoundSwitch] = 1;  // not stored: must not be saved
    scoreTable->bestScores[0] = 123;
    scoreTable->bestScores[1] = -5;
    scoreTable->bestScores[2] = 2147483647;
    scoreTable->bestScores[3] = -2147483647 - 1;

    c.state = GameMenu;
    c.cursor = 4;
    c.onSelect();

    const std::u16string expected[11] = {u"None", u"on",  u"off", u"on", u"off", u"on",
                                         u"off",  u"123", u"-5",  u"2147483647", u"-2147483648"};
    for (uint32_t i = 0; i < 11; ++i) {
        EXPECT_EQ(std::u16string(settingsStore.getValue(i)), expected[i]) << "key " << i;
    }
    const std::string saved = savedText(file);
    EXPECT_NE(saved.find("name=\"None\";"), std::string::npos) << saved;
    EXPECT_NE(saved.find("sound=\"on\";\nmusic=\"off\";\nlevel=\"on\";"), std::string::npos) << saved;
    EXPECT_NE(saved.find("PHardScores=\"-2147483648\";"), std::string::npos) << saved;

    plat::Event event;
    EXPECT_FALSE(plat::nextEvent(event)) << "the message loop is asked to end";
    EXPECT_EQ(event.param, 0u);
    EXPECT_EQ(c.state, GameMenu);
}

}  // namespace
}  // namespace screens_test
