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

TEST(ReplayFolder, TheBestForEverAndTheNewestFiftyOthers) {
    // An hour of games, one a minute; minute 2 scored best, and minute 40 as well (later).
    std::vector<std::string> hour;
    std::vector<std::string> oldest;
    for (int minute = 0; minute < 60; ++minute) {
        hour.push_back(named(minute, minute == 2 || minute == 40 ? 90 : minute % 7));
        if (minute < 10 && minute != 2) oldest.push_back(hour.back());
    }
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> dropped;
    } cases[] = {
        {{}, {}},
        {{named(1, 4), "notes.txt", "2026-01-01_12-00-00_score-x.fgr", named(2, 0) + ".bak"}, {}},
        {hour, oldest},
    };
    for (const auto& c : cases) {
        std::vector<std::string> dropped = plat::sdl::replaysToDrop(c.names);
        std::sort(dropped.begin(), dropped.end());
        EXPECT_EQ(dropped, c.dropped) << c.names.size() << " names";
    }
}

TEST(ReplayFolder, KeptUnderTheDataFolderNeverThroughAPlantedLink) {
    const test_files::ScratchFolder scratch{"data"};
    const fs::path& data = scratch.folder();
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
    EXPECT_NE(testing::internal::GetCapturedStderr().find("replay is not kept"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(data / "elsewhere"));
}

}  // namespace
