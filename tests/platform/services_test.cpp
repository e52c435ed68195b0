// The generator, the settings-file services and the resources.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/files.h"
#include "platform/headless/headless.h"
#include "platform/random.h"
#include "platform/resources.h"
#include "platform/sound.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

using test_files::readFile;

class Files : public ::testing::Test {
protected:
    const test_files::ScratchFolder scratch{"files"};
    const fs::path dir = scratch.folder();
};

}  // namespace

TEST(Random, IsTheClassicGeneratorFromStateOne) {
    plat::seedRandom(1);
    EXPECT_EQ(plat::rand(), 41);
    EXPECT_EQ(plat::rand(), 18467);
    EXPECT_EQ(plat::rand(), 6334);
    EXPECT_EQ(plat::rand(), 26500);
    EXPECT_EQ(plat::rand(), 19169);
    for (int i = 0; i < 10000; ++i) {
        const int32_t r = plat::rand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
    plat::seedRandom(1);
    EXPECT_EQ(plat::rand(), 41);
}

TEST_F(Files, WriteThenReadBackInOneCall) {
    const std::u16string path = widen((dir / "config.ini").string());
    ASSERT_TRUE(plat::replaceFileAtomically(path.c_str(), "abcdef", 6));
    plat::File* f = plat::openExistingFile(path.c_str());
    ASSERT_NE(f, nullptr);
    char buffer[4];
    EXPECT_EQ(plat::readFile(f, buffer, sizeof buffer), 4);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    plat::closeFile(f);
    EXPECT_EQ(plat::openExistingFile(widen((dir / "missing.ini").string()).c_str()), nullptr);
}

TEST_F(Files, AFolderIsNeitherOpenedNorCreated) {
    fs::create_directory(dir / "config.ini");
    const std::u16string path = widen((dir / "config.ini").string());
    EXPECT_EQ(plat::openExistingFile(path.c_str()), nullptr);
    EXPECT_FALSE(plat::replaceFileAtomically(path.c_str(), "x", 1));
    EXPECT_TRUE(fs::is_directory(dir / "config.ini"));
}

TEST_F(Files, AtomicReplaceLeavesOnlyTheNewFile) {
    const fs::path target = dir / "config.ini";
    std::ofstream(target) << "old contents";
    const std::u16string path = widen(target.string());
    ASSERT_TRUE(plat::replaceFileAtomically(path.c_str(), "new", 3));
    EXPECT_EQ(readFile(target), "new");
    int entries = 0;
    for (const auto& e : fs::directory_iterator(dir)) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary file is left behind";
}

TEST_F(Files, AtomicReplaceInAReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    const fs::path target = dir / "config.ini";
    std::ofstream(target) << "old contents";
    fs::permissions(dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(plat::replaceFileAtomically(widen(target.string()).c_str(), "new", 3));
    EXPECT_EQ(readFile(target), "old contents");
}

TEST_F(Files, PathsLongerThanTheLimitAreRefusedNotCut) {
    // A path of exactly the limit would lose its terminator: refused. Cutting
    // it short would name another file, which must not be created.
    std::string longName = dir.string() + "/";
    while (longName.size() < static_cast<size_t>(plat::kMaxPath)) longName += "a";
    const std::string cutName = longName.substr(0, plat::kMaxPath - 1);
    const std::u16string path = widen(longName);
    EXPECT_FALSE(plat::replaceFileAtomically(path.c_str(), "x", 1));
    EXPECT_FALSE(fs::exists(cutName));
    EXPECT_EQ(plat::openExistingFile(u""), nullptr);
}

TEST(ModuleFileName, ReportsTheExecutablePathOrNothingWhenItDoesNotFit) {
    plat::headless::reset();
    plat::headless::setExecutablePath(u"/games/fish/fingulp");
    plat::Char buffer[256];
    EXPECT_EQ(plat::moduleFileName(buffer, 256), 19);
    EXPECT_EQ(std::u16string(buffer), u"/games/fish/fingulp");
    EXPECT_EQ(plat::moduleFileName(buffer, 19), 0) << "no room for the terminator";
    EXPECT_EQ(buffer[0], 0);
    plat::headless::reset();
}

TEST(Resources, StringsAndMissingThings) {
    plat::Char title[20];
    EXPECT_EQ(plat::loadString(103, title, 20), 15);
    EXPECT_EQ(std::u16string(title), u"Smartphone 2002");
    plat::Char small[6];
    EXPECT_EQ(plat::loadString(103, small, 6), 5) << "cut to the buffer, terminated";
    EXPECT_EQ(std::u16string(small), u"Smart");
    EXPECT_GT(plat::loadString(104, title, 20), 0);
    EXPECT_EQ(plat::loadString(999, title, 20), 0);
    EXPECT_EQ(plat::loadBitmap(999), nullptr);
    EXPECT_EQ(plat::findWave(u"NOPE").data, nullptr);
    EXPECT_NE(plat::findEmbedded("glyphs", "regular-12").data, nullptr);
    EXPECT_NE(plat::findEmbedded("glyphs", "bold-14").data, nullptr);
}

TEST(Resources, DecodesTwentyFourAndEightBitPicturesAndRejectsDamagedOnes) {
    // A 2 x 2 24-bit picture, bottom-up: bottom row red, blue; top row green, white.
    unsigned char bmp24[54 + 16] = {'B', 'M'};
    auto put = [](unsigned char* p, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put(bmp24 + 2, sizeof bmp24, 4);
    put(bmp24 + 10, 54, 4);
    put(bmp24 + 14, 40, 4);
    put(bmp24 + 18, 2, 4);
    put(bmp24 + 22, 2, 4);
    put(bmp24 + 26, 1, 2);
    put(bmp24 + 28, 24, 2);
    const unsigned char rows[16] = {0, 0, 255, 255, 0, 0, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
    std::copy(rows, rows + 16, bmp24 + 54);
    plat::Bitmap* b = plat::decodeBmp(bmp24, sizeof bmp24);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->pixels[0], plat::rgb(0, 255, 0));
    EXPECT_EQ(b->pixels[1], plat::kWhite);
    EXPECT_EQ(b->pixels[2], plat::rgb(255, 0, 0));
    EXPECT_EQ(b->pixels[3], plat::kBlue);
    plat::deleteBitmap(b);
    EXPECT_EQ(plat::decodeBmp(bmp24, 60), nullptr) << "cut short";
    put(bmp24 + 18, 100000, 4);
    EXPECT_EQ(plat::decodeBmp(bmp24, sizeof bmp24), nullptr) << "absurd width";
}

TEST(Resources, BitmapHeadersThatPointOutsideTheDataAreRefused) {
    // A 2 x 2 8-bit picture with a palette of two: bottom row 0, 1; top row 1, 0.
    std::vector<unsigned char> good(54 + 8 + 8, 0);
    auto put = [](std::vector<unsigned char>& b, size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    good[0] = 'B';
    good[1] = 'M';
    put(good, 10, 62, 4);  // pixels
    put(good, 14, 40, 4);  // header size
    put(good, 18, 2, 4);
    put(good, 22, 2, 4);
    put(good, 28, 8, 2);
    put(good, 46, 2, 4);  // palette entries
    put(good, 54, 0x000000FF, 4);  // entry 0: blue (stored B, G, R)
    put(good, 58, 0x0000FF00, 4);  // entry 1: green
    const unsigned char rows[8] = {0, 1, 0, 0, 1, 0, 0, 0};
    std::copy(rows, rows + 8, good.begin() + 62);

    struct Row {
        const char* what;
        size_t offset;
        uint32_t value;
        int bytes;
        bool decodes;
    };
    const Row cases[] = {
        {"as made", 0, 'B', 1, true},
        {"top-down", 22, static_cast<uint32_t>(-2), 4, true},
        {"height INT32_MIN", 22, 0x80000000u, 4, false},
        {"width INT32_MIN", 18, 0x80000000u, 4, false},
        {"width 0", 18, 0, 4, false},
        {"header size near 2^32", 14, 0xFFFFFFF0u, 4, false},
        {"header size wrapping 14 + size to 0", 14, 0xFFFFFFF2u, 4, false},
        {"header size past the data", 14, 60, 4, false},
        {"pixels at 2^32 - 1", 10, 0xFFFFFFFFu, 4, false},
        {"pixels one row short", 10, 66, 4, false},
        {"pixels inside the palette", 10, 58, 4, false},
        {"palette count wrapping when times 4", 46, 0x40000001u, 4, false},
        {"palette count 0 means 256", 46, 0, 4, false},
        {"32 bits", 28, 32, 2, false},
        {"compressed", 30, 1, 4, false},
        {"not BM", 0, 'X', 1, false},
    };
    for (const Row& row : cases) {
        SCOPED_TRACE(row.what);
        std::vector<unsigned char> bytes = good;
        put(bytes, row.offset, row.value, row.bytes);
        plat::Bitmap* b = plat::decodeBmp(bytes.data(), bytes.size());
        EXPECT_EQ(b != nullptr, row.decodes);
        if (!b) continue;
        const bool topDown = row.offset == 22;
        EXPECT_EQ(b->pixels[0], topDown ? plat::kBlue : plat::rgb(0, 255, 0));
        EXPECT_EQ(b->pixels[2], topDown ? plat::rgb(0, 255, 0) : plat::kBlue);
        plat::deleteBitmap(b);
    }
    EXPECT_EQ(plat::decodeBmp(good.data(), good.size() - 1), nullptr) << "cut short";
    EXPECT_EQ(plat::decodeBmp(nullptr, 0), nullptr);
}

TEST(Sound, StartingStoppingAndPlayingToTheEndAreRecorded) {
    plat::headless::reset();
    if (!plat::findWave(u"DEF").data) GTEST_SKIP() << "sounds not embedded yet";
    EXPECT_TRUE(plat::playSound(u"FLARE", 0x00040005));
    const uint64_t before = plat::headless::now();
    EXPECT_TRUE(plat::playSound(u"DEF", 0x00040004));
    EXPECT_EQ(plat::headless::now() - before, 150u) << "1,652 bytes at 11025 Hz, rounded up";
    EXPECT_TRUE(plat::playSound(nullptr, 0x00040005));
    EXPECT_FALSE(plat::playSound(u"MISSING", 0x00040005));
    const auto& log = plat::headless::log();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].text, "sound start FLARE");
    EXPECT_EQ(log[1].text, "sound play DEF");
    EXPECT_EQ(log[2].text, "sound stop");
    plat::headless::reset();
}

// The one reader of the wave format: what every back end plays and how long
// a blocking sound waits.
TEST(Sound, WavesAreReadOnceForEveryBackEnd) {
    const auto wave = [](uint16_t format, uint16_t channels, uint16_t bits, uint32_t declared, uint32_t present) {
        std::string w = "RIFF....WAVEfmt ";
        const auto put = [&w](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i) w += static_cast<char>(v >> (8 * i));
        };
        put(16, 4), put(format, 2), put(channels, 2), put(8000, 4), put(8000 * channels * bits / 8, 4);
        put(channels * bits / 8, 2), put(bits, 2);
        w += "data", put(declared, 4), w += std::string(present, '\x80');
        return w;
    };
    const struct {
        const char* what;
        std::string file;
        uint64_t durationMs;
        size_t playable;  // bytes of samples; 0: nothing to play
    } cases[] = {
        {"8-bit mono", wave(1, 1, 8, 800, 800), 100, 800},
        {"16-bit stereo, cut short mid-frame", wave(1, 2, 16, 3200, 1003), 100, 1000},
        {"not PCM: waited, not played", wave(3, 1, 32, 3200, 3200), 100, 0},
        {"24-bit: waited, not played", wave(1, 1, 24, 2400, 2400), 100, 0},
        {"not a wave", "RIFX" + wave(1, 1, 8, 800, 800).substr(4), 0, 0},
        {"no data chunk", wave(1, 1, 8, 800, 800).substr(0, 36), 0, 0},
    };
    for (const auto& c : cases) {
        const plat::Wave w = plat::readWave(reinterpret_cast<const uint8_t*>(c.file.data()), c.file.size());
        EXPECT_EQ(w.durationMs, c.durationMs) << c.what;
        EXPECT_EQ(w.samples ? w.bytes : 0, c.playable) << c.what;
        if (w.samples) {
            EXPECT_EQ(w.samples, reinterpret_cast<const uint8_t*>(c.file.data()) + 44) << c.what;
        }
    }
}
