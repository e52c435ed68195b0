// Files the desktop writes: numbered screenshots (the screen and an enlarged
// copy, never overwriting), and where config.ini goes when the executable's
// folder can hold it.
#include <png.h>
#include <unistd.h>

#include <filesystem>

#include "desktop_fixture.h"
#include "platform/backend.h"
#include "platform/text_encoding.h"

namespace {

namespace fs = std::filesystem;

struct Png {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;
};

Png readPng(const std::string& path) {
    Png out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return out;
    image.format = PNG_FORMAT_RGB;
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr)) return {};
    out.width = image.width;
    out.height = image.height;
    return out;
}

TEST(Screenshot, NumberedShotsAndTheirEnlargedCopies) {
    const test_files::ScratchFolder scratch("shots");
    const fs::path& folder = scratch.folder();
    std::vector<uint32_t> screen(static_cast<size_t>(plat::kScreenWidth) * plat::kScreenHeight, 0x00FFFFFF);
    screen[0] = 0x000000FF;                            // red, top left
    screen[screen.size() - 1] = plat::rgb(1, 2, 3);    // bottom right
    const std::string base = folder.string() + "/";
    using Paths = std::vector<std::string>;
    EXPECT_EQ(plat::sdl::writeScreenshot(base, screen.data(), 3), (Paths{base + "fingulp-0001.png", base + "fingulp-0001-x3.png"}));
    EXPECT_EQ(plat::sdl::writeScreenshot(base, screen.data(), 3), (Paths{base + "fingulp-0002.png", base + "fingulp-0002-x3.png"}));

    const Png plain = readPng(base + "fingulp-0001.png");
    ASSERT_EQ(plain.width, 176u);
    ASSERT_EQ(plain.height, 220u);
    EXPECT_EQ(std::vector<uint8_t>(plain.rgb.begin(), plain.rgb.begin() + 6), (std::vector<uint8_t>{255, 0, 0, 255, 255, 255}));
    EXPECT_EQ(std::vector<uint8_t>(plain.rgb.end() - 3, plain.rgb.end()), (std::vector<uint8_t>{1, 2, 3}));
    const Png big = readPng(base + "fingulp-0002-x3.png");
    ASSERT_EQ(big.width, 528u);
    ASSERT_EQ(big.height, 660u);
    // Each pixel became a 3 x 3 block.
    const size_t row = 528 * 3;
    EXPECT_EQ(big.rgb[2 * row + 2 * 3], 255);
    EXPECT_EQ(big.rgb[2 * row + 2 * 3 + 1], 0);
    EXPECT_EQ(big.rgb[3 * row + 3 * 3 + 1], 255);
}

TEST(Screenshot, AFolderThatCannotHoldItGivesNoPath) {
    std::vector<uint32_t> screen(static_cast<size_t>(plat::kScreenWidth) * plat::kScreenHeight, 0);
    EXPECT_TRUE(plat::sdl::writeScreenshot("/nonexistent/folder/", screen.data(), 2).empty());
}

TEST(SettingsFolder, AWritableExecutableFolderHoldsTheSettings) {
    // The test executable's own folder is the build folder, which is writable.
    const std::u16string path = plat::backend::executablePath();
    const std::string expected = fs::canonical("/proc/self/exe").string();
    EXPECT_EQ(plat::toUtf8(path.c_str()), expected);
    EXPECT_EQ(plat::sdl::settingsFolder(), fs::path(expected).parent_path().string() + "/");
}

TEST(SettingsFolder, InstalledCopiesAreThoseOfTheInstallFolderOrUnderUsrAndOpt) {
    for (const char* folder :
         {"/usr/games/", "/usr/local/bin/", "/opt/fingulp/", "/home/p/.local/bin/", "/home/p/.local/games/"}) {
        EXPECT_TRUE(plat::sdl::installedFolder(folder, "/home/p/.local/")) << folder;
    }
    for (const char* folder : {"/home/p/.local/bin/x/", "/home/p/games/", "/usrfoo/bin/", "/work/build/"}) {
        EXPECT_FALSE(plat::sdl::installedFolder(folder, "/home/p/.local")) << folder;
    }
}

}  // namespace
