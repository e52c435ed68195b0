// The replays the desktop keeps: which files go, the names they get, and a
// folder that cannot hold them (the replay is lost with one line on stderr,
// nothing is written through a planted link).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/sdl/sdl_internal.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;

std::string named(int minute, int score) {
    char name[64];
    std::snprintf(name, sizeof name, "2026-01-01_12-%02d-00_score-%d.fgr", minute, score);
    return name;
}

// The name the desktop gives its NUMBERth game, recorded in YEAR.
std::string numbered(int number, int year, int score) {
    char name[64];
    std::snprintf(name, sizeof name, "%06d_%04d-01-01_12-00-00_score-%d.fgr", number, year, score);
    return name;
}

plat::replay::Replay gameOf(int32_t fish) {
    plat::replay::Replay game;
    game.outcome.fishEaten = fish;
    return game;
}

TEST(ReplayFolder, TheBestForEverAndTheNewestFiftyOthers) {
    // An hour of games, one a minute; minute 2 scored best, and minute 40 as well (later).
    std::vector<std::string> hour;
    std::vector<std::string> oldest;
    for (int minute = 0; minute < 60; ++minute) {
        hour.push_back(named(minute, minute == 2 || minute == 40 ? 90 : minute % 7));
        if (minute < 10 && minute != 2) oldest.push_back(hour.back());
    }
    // Numbered games after them, the clock set back a century from the third on.
    std::vector<std::string> later = hour;
    for (int n = 1; n <= 12; ++n) later.push_back(numbered(n, n < 3 ? 2026 : 1926, 1));
    std::vector<std::string> oldestOfLater = oldest;
    for (int minute = 10; minute < 22; ++minute) oldestOfLater.push_back(hour[minute]);
    // The oldest name just written (the clock far behind): it stays, the next oldest goes.
    std::vector<std::string> oldestButFirst(oldest.begin() + 1, oldest.end());
    oldestButFirst.push_back(hour[10]);
    const struct {
        std::vector<std::string> names;
        std::string written;
        std::vector<std::string> dropped;
    } cases[] = {
        {{}, "", {}},
        {{named(1, 4), "notes.txt", "2026-01-01_12-00-00_score-x.fgr", named(2, 0) + ".bak"}, "", {}},
        {hour, "", oldest},
        {later, numbered(12, 1926, 1), oldestOfLater},
        {hour, hour[0], oldestButFirst},
    };
    for (const auto& c : cases) {
        std::vector<std::string> dropped = plat::sdl::replaysToDrop(c.names, c.written);
        std::vector<std::string> expected = c.dropped;
        std::sort(dropped.begin(), dropped.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(dropped, expected) << c.names.size() << " names, " << c.written << " written";
    }
}

TEST(ReplayFolder, KeptUnderTheDataFolderNeverThroughAPlantedLink) {
    const test_files::ScratchFolder scratch{"data"};
    // A name that would retitle the terminal if a message printed it raw.
    const fs::path data = scratch.folder() / "data\x1b]0;owned\x07";
    fs::create_directories(data / "elsewhere");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    plat::replay::Replay game;
    game.outcome.fishEaten = 12;
    plat::sdl::keepReplay(game);
    const std::set<std::string> kept = test_files::entriesOf(data / "fingulp/replays");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_TRUE(kept.begin()->ends_with("_score-12.fgr")) << *kept.begin();
    plat::replay::Replay back;
    std::string error;
    EXPECT_TRUE(plat::replay::loadReplay((data / "fingulp/replays" / *kept.begin()).string(), back, error)) << error;

    // The game's folder replaced by a link: the replay is lost, nothing lands there.
    fs::remove_all(data / "fingulp");
    fs::create_directory_symlink(data / "elsewhere", data / "fingulp");
    testing::internal::CaptureStderr();
    plat::sdl::keepReplay(game);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("replay is not kept"), std::string::npos);
    EXPECT_NE(said.find("data\\x1B]0;owned\\x07"), std::string::npos) << said;
    EXPECT_TRUE(fs::is_empty(data / "elsewhere"));
}

TEST(ReplayFolder, NewGamesStayBesideGamesFromAClockSetAhead) {
    const test_files::ScratchFolder scratch{"data"};
    const fs::path replays = scratch.folder() / "fingulp/replays";
    fs::create_directories(replays);
    for (int minute = 0; minute < 55; ++minute) {
        char name[64];
        std::snprintf(name, sizeof name, "2099-01-01_12-%02d-00_score-9.fgr", minute);
        test_files::writeFile(replays / name, std::string("FGR"));
    }
    setenv("XDG_DATA_HOME", scratch.folder().c_str(), 1);
    for (int fish = 1; fish <= 3; ++fish) plat::sdl::keepReplay(gameOf(fish));
    const std::set<std::string> kept = test_files::entriesOf(replays);
    EXPECT_EQ(kept.size(), 51u);
    for (const std::string suffix : {"_score-1.fgr", "_score-2.fgr", "_score-3.fgr"}) {
        EXPECT_EQ(std::count_if(kept.begin(), kept.end(), [&](const std::string& n) { return n.ends_with(suffix); }), 1)
            << suffix;
    }
}

TEST(ReplayFolder, KeptInADataFolderLongerThanTheHandsetsPaths) {
    const test_files::ScratchFolder scratch{"data"};
    const fs::path data = scratch.folder() / std::string(227 - scratch.folder().string().size() - 1, 'd');
    ASSERT_EQ(data.string().size(), 227u);
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    testing::internal::CaptureStderr();
    plat::sdl::keepReplay(gameOf(4));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(test_files::entriesOf(data / "fingulp/replays").size(), 1u);
}

}  // namespace
