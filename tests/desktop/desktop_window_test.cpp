// The window remembered across runs: the file's form, what a damaged file or a
// planted link comes to, and the size a remembered window starts at.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop_fixture.h"
#include "support/files.h"

namespace {

namespace fs = std::filesystem;
using desktop_test::DesktopTest;
using plat::sdl::WindowPlacement;

using test_files::readFile;

TEST(WindowFile, DamagedTextsGiveNothingAndAGoodOneRoundTrips) {
    const WindowPlacement saved{880, 1000, true};
    WindowPlacement read;
    ASSERT_TRUE(plat::sdl::parseWindowFile(plat::sdl::windowFileText(saved), read));
    EXPECT_EQ(read.width, 880);
    EXPECT_EQ(read.height, 1000);
    EXPECT_TRUE(read.fullscreen);
    EXPECT_TRUE(plat::sdl::parseWindowFile("fullscreen=0\r\nheight=220\r\n\r\nwidth=176\r\n", read));
    EXPECT_FALSE(read.fullscreen);
    for (const char* damaged : {"", "width=880\nheight=1000\n", "width=880\nheight=1000\nfullscreen=yes\n",
                                "width=-5\nheight=1000\nfullscreen=0\n", "width=0\nheight=1000\nfullscreen=0\n",
                                "width=8e2\nheight=1000\nfullscreen=0\n", "width=9999999\nheight=10\nfullscreen=0\n",
                                "width=880\nwidth=880\nheight=1000\nfullscreen=0\n",
                                "width=880\nheight=1000\nfullscreen=0\nscale=5\n", "\xff\xfe\x77\0"}) {
        EXPECT_FALSE(plat::sdl::parseWindowFile(damaged, read)) << damaged;
    }
}

TEST(WindowFile, TheUsersConfigurationFolderAndNoPlantedLink) {
    const test_files::ScratchFolder scratch("home");
    const fs::path& home = scratch.folder();
    const std::string playersHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_CONFIG_HOME");
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(plat::sdl::windowFileFolder(), home.string() + "/.config/fingulp/");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);  // not absolute: ignored
    EXPECT_EQ(plat::sdl::windowFileFolder(), home.string() + "/.config/fingulp/");
    ASSERT_TRUE(plat::sdl::writeWindowFile({600, 700, false}));
    EXPECT_EQ(readFile(home / ".config/fingulp/window.ini"), "width=600\nheight=700\nfullscreen=0\n");
    EXPECT_EQ(fs::status(home / ".config/fingulp").permissions() & fs::perms::all, fs::perms::owner_all);

    // A link in the file's place is replaced, never written through.
    const fs::path config = home / "config";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    fs::create_directories(config / "fingulp");
    std::ofstream(home / "victim") << "keep";
    fs::create_symlink(home / "victim", config / "fingulp/window.ini");
    ASSERT_TRUE(plat::sdl::writeWindowFile({600, 700, true}));
    EXPECT_EQ(readFile(home / "victim"), "keep");
    EXPECT_FALSE(fs::is_symlink(config / "fingulp/window.ini"));
    // A link in the folder's place: nothing is written anywhere.
    fs::remove_all(config / "fingulp");
    fs::create_directories(home / "elsewhere");
    fs::create_directory_symlink(home / "elsewhere", config / "fingulp");
    EXPECT_FALSE(plat::sdl::writeWindowFile({600, 700, true}));
    EXPECT_TRUE(fs::is_empty(home / "elsewhere"));

    // A path longer than the handset's 255 characters is the desktop's own.
    const fs::path deep = home / std::string(120, 'd') / std::string(120, 'e');
    setenv("XDG_CONFIG_HOME", deep.c_str(), 1);
    fs::create_directories(deep.parent_path());
    ASSERT_TRUE(plat::sdl::writeWindowFile({600, 700, false}));
    WindowPlacement read;
    EXPECT_TRUE(plat::sdl::readWindowFile(read));
    EXPECT_EQ(read.width, 600);
    // A file the system cannot write (its path, not its folders', too long
    // for it) leaves no folder made for it.
    fs::path nearLimit = home;
    while (nearLimit.string().size() < 3800) nearLimit /= std::string(200, 'n');
    fs::create_directories(nearLimit);
    const fs::path tooDeep = nearLimit / std::string(4075 - nearLimit.string().size() - 1, 'c');
    setenv("XDG_CONFIG_HOME", tooDeep.c_str(), 1);
    EXPECT_FALSE(plat::sdl::writeWindowFile({600, 700, false}));
    EXPECT_FALSE(fs::exists(tooDeep));
    setenv("HOME", playersHome.c_str(), 1);
}

// SDL's dummy display is 1024 x 768.
TEST_F(DesktopTest, ARememberedWindowStartsAsItWasWithinTodaysDesktop) {
    const struct {
        const char* file;  // null: none
        int width;
        int height;
        bool fullscreen;
    } cases[] = {
        {nullptr, 528, 660, false},
        {"width=880\nheight=700\nfullscreen=0\n", 880, 700, false},
        {"width=5000\nheight=5000\nfullscreen=0\n", 1024, 768, false},
        {"width=100\nheight=100\nfullscreen=0\n", 176, 220, false},
        {"width=600\nheight=7", 528, 660, false},
        {"width=600\nheight=700\nfullscreen=1\n", 600, 700, true},
    };
    const fs::path file = configHome.folder() / "fingulp/window.ini";
    for (const auto& c : cases) {
        plat::sdl::destroyDesktopWindow();
        fs::remove(file);
        if (c.file) std::ofstream(file) << c.file;
        ASSERT_TRUE(plat::sdl::createDesktopWindow(u"Test", 108, plat::screenSurface()->bitmap->pixels.data()));
        SDL_Window* w = plat::sdl::desktopWindow();
        const bool fullscreen = (SDL_GetWindowFlags(w) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
        EXPECT_EQ(fullscreen, c.fullscreen) << (c.file ? c.file : "no file");
        if (!fullscreen) {
            int width = 0, height = 0;
            SDL_GetWindowSize(w, &width, &height);
            EXPECT_EQ(width, c.width) << (c.file ? c.file : "no file");
            EXPECT_EQ(height, c.height) << (c.file ? c.file : "no file");
        }
    }
    // Closed fullscreen, the window keeps the size it had before.
    plat::sdl::destroyDesktopWindow();
    WindowPlacement kept;
    ASSERT_TRUE(plat::sdl::parseWindowFile(readFile(file), kept));
    EXPECT_EQ(kept.width, 600);
    EXPECT_EQ(kept.height, 700);
    EXPECT_TRUE(kept.fullscreen);
    ASSERT_TRUE(plat::sdl::createDesktopWindow(u"Test", 108, plat::screenSurface()->bitmap->pixels.data()));
}

}  // namespace
