// The first paint: the settings path it builds beside the executable.
#include <gtest/gtest.h>

#include <string>

#include "app/first_paint.h"
#include "platform/headless/headless.h"
#include "state/program_state.h"

namespace {

TEST(ConfigPath, IsTheExecutablesFolderWhateverItsName) {
    plat::headless::reset();
    plat::headless::setExecutablePath(u"/storage/games/a-very-long-executable-name-indeed");
    buildConfigPath();
    EXPECT_EQ(std::u16string(configPath), u"/storage/games/config.ini");

    // One unit short of the limit with the name added: refused whole, never cut.
    std::u16string folder = u"/";
    while (folder.size() + 1 + 10 < 256) folder += u'd';
    plat::headless::setExecutablePath(folder + u"/x");
    buildConfigPath();
    EXPECT_EQ(configPath[0], 0);
    folder.pop_back();
    plat::headless::setExecutablePath(folder + u"/x");
    buildConfigPath();
    EXPECT_EQ(std::u16string(configPath), folder + u"/config.ini");
    plat::headless::reset();
}

}  // namespace
