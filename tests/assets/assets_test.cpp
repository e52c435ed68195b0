// The embedded pictures, sounds and icon: sizes, formats, the see-through
// colours the game copies with, and that the generator still makes exactly
// the committed files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/drawing.h"
#include "platform/resources.h"
#include "support/files.h"

namespace {

using plat::Colour;

struct BitmapDeleter {
    void operator()(plat::Bitmap* b) const { plat::deleteBitmap(b); }
};
using BitmapPtr = std::unique_ptr<plat::Bitmap, BitmapDeleter>;

BitmapPtr load(int id) { return BitmapPtr(plat::loadBitmap(id)); }

Colour at(const plat::Bitmap& b, int x, int y) { return b.pixels[static_cast<size_t>(y) * b.width + x] & 0x00FFFFFF; }

constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlue = 0x00FF0000;
constexpr Colour kHudBlue = 0x00844100;
constexpr Colour kMagenta = 0x00FF00FF;

struct Expected {
    int id, width, height;
};
constexpr Expected kBitmaps[] = {
    {101, 60, 20}, {103, 88, 22}, {104, 88, 22}, {105, 88, 30}, {107, 72, 25},  {108, 43, 20}, {109, 34, 15},
    {110, 24, 10}, {111, 24, 10}, {112, 36, 15}, {113, 44, 20}, {114, 72, 25},  {116, 176, 220}, {117, 24, 10},
    {118, 36, 15}, {119, 44, 20}, {120, 72, 25}, {121, 88, 30}, {122, 23, 9},   {124, 94, 30}, {125, 87, 22},
    {126, 87, 22}, {127, 176, 220}, {131, 135, 161}, {133, 7, 7}, {135, 7, 7},  {136, 176, 220}, {137, 17, 15},
    {148, 17, 15}, {150, 17, 17}, {151, 17, 17}, {152, 17, 17}, {153, 17, 17},  {154, 64, 16}, {155, 89, 22},
    {156, 89, 22}, {157, 89, 22}, {159, 17, 17}, {160, 17, 17}, {161, 17, 17},  {162, 17, 17}, {163, 17, 17},
    {166, 88, 22}, {167, 88, 22},
};

uint32_t readLe(const uint8_t* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

int countWhere(const plat::Bitmap& b, int left, int top, int right, int bottom, bool (*test)(Colour)) {
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (test(at(b, x, y))) ++n;
    return n;
}

double meanLuminance(const plat::Bitmap& b, int left, int top, int right, int bottom) {
    double sum = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const Colour c = at(b, x, y);
            sum += 0.299 * plat::redOf(c) + 0.587 * plat::greenOf(c) + 0.114 * plat::blueOf(c);
        }
    return sum / ((right - left) * (bottom - top));
}

TEST(Bitmaps, EveryIdIsEmbeddedAtItsSizeAndDepth) {
    for (const Expected& e : kBitmaps) {
        SCOPED_TRACE(e.id);
        const plat::ResourceData file = plat::findEmbedded("bitmap", std::to_string(e.id).c_str());
        ASSERT_NE(file.data, nullptr);
        ASSERT_GE(file.size, 54u);
        EXPECT_EQ(readLe(file.data + 28, 2), e.id == 122 ? 8u : 24u);
        EXPECT_EQ(readLe(file.data + 30, 4), 0u) << "uncompressed";
        const BitmapPtr b = load(e.id);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->width, e.width);
        EXPECT_EQ(b->height, e.height);
    }
}

TEST(Bitmaps, SpriteStripsHaveAFishInEachHalfWithWhiteAround) {
    // Strip id and the half width the game reads it with (the tables, not the bitmap).
    const Expected strips[] = {{110, 12, 0}, {109, 17, 0}, {108, 22, 0}, {107, 36, 0}, {105, 44, 0},
                               {111, 12, 0}, {112, 18, 0}, {113, 22, 0}, {114, 36, 0}, {124, 47, 0},
                               {117, 12, 0}, {118, 18, 0}, {119, 22, 0}, {120, 36, 0}, {121, 44, 0}};
    for (const Expected& s : strips) {
        SCOPED_TRACE(s.id);
        const BitmapPtr b = load(s.id);
        ASSERT_NE(b, nullptr);
        const int w = b->width, h = b->height;
        EXPECT_EQ(at(*b, 0, 0), kWhite);
        EXPECT_EQ(at(*b, w - 1, 0), kWhite);
        EXPECT_EQ(at(*b, 0, h - 1), kWhite);
        EXPECT_EQ(at(*b, w - 1, h - 1), kWhite);
        const auto drawn = [](Colour c) { return c != kWhite; };
        const int left = countWhere(*b, 0, 0, s.width, h, drawn);
        const int right = countWhere(*b, s.width, 0, w, h, drawn);
        EXPECT_GT(left, s.width * h / 8) << "the right-facing fish";
        EXPECT_GT(right, s.width * h / 8) << "the left-facing fish";
    }
}

TEST(Bitmaps, FishStripsMirrorTheRightFacingFish) {
    // A player strip's two halves are the same fish facing both ways.
    for (int id : {111, 112, 113, 114, 124}) {
        SCOPED_TRACE(id);
        const BitmapPtr b = load(id);
        ASSERT_NE(b, nullptr);
        const int half = b->width / 2;
        for (int y = 0; y < b->height; ++y)
            for (int x = 0; x < half; ++x) ASSERT_EQ(at(*b, x, y), at(*b, b->width - 1 - x, y)) << x << "," << y;
    }
}

TEST(Bitmaps, SkeletonsKeepClearOfTheColumnsTheOtherTableReads) {
    // The class-4 skeleton is read 44 wide for the school and 47 wide for the
    // player: columns 44..46 belong to both halves' reads and must be empty.
    const BitmapPtr big = load(121);
    ASSERT_NE(big, nullptr);
    for (int y = 0; y < big->height; ++y)
        for (int x = 44; x <= 46; ++x) EXPECT_EQ(at(*big, x, y), kWhite) << x << "," << y;
    // The class-1 skeleton is read 17 wide for the school and 18 for the player.
    const BitmapPtr small = load(118);
    ASSERT_NE(small, nullptr);
    for (int y = 0; y < small->height; ++y)
        for (int x : {16, 17, 34, 35}) EXPECT_EQ(at(*small, x, y), kWhite) << x << "," << y;
}

TEST(Bitmaps, BubbleStripHoldsThreeBubblesOfSevenByEight) {
    const BitmapPtr b = load(122);
    ASSERT_NE(b, nullptr);
    const auto drawn = [](Colour c) { return c != kWhite; };
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_GT(countWhere(*b, frame * 7, 0, frame * 7 + 7, 8, drawn), 10) << frame;
        EXPECT_EQ(at(*b, frame * 7, 0), kWhite);
    }
    EXPECT_EQ(countWhere(*b, 0, 8, 23, 9, drawn), 0) << "the ninth row is outside every bubble";
    EXPECT_EQ(countWhere(*b, 21, 0, 23, 9, drawn), 0) << "columns 21 and 22 are outside every bubble";
}

TEST(Bitmaps, MenuPartsAreBlueWhereSeeThrough) {
    for (int id : {103, 104, 125, 126, 133, 135, 137, 148, 150, 151, 152, 153, 155, 156, 157, 160, 161, 162, 163, 166, 167}) {
        SCOPED_TRACE(id);
        const BitmapPtr b = load(id);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(at(*b, 0, 0), kBlue);
        EXPECT_EQ(at(*b, b->width - 1, b->height - 1), kBlue);
        const auto drawn = [](Colour c) { return c != kBlue; };
        EXPECT_GT(countWhere(*b, 0, 0, b->width, b->height, drawn), 8);
    }
    // The cursor fish lies in the top-left 16 x 14 pixels the menu draws.
    const BitmapPtr cursor = load(148);
    ASSERT_NE(cursor, nullptr);
    const auto drawn = [](Colour c) { return c != kBlue; };
    EXPECT_EQ(countWhere(*cursor, 16, 0, 17, 15, drawn), 0);
    EXPECT_EQ(countWhere(*cursor, 0, 14, 17, 15, drawn), 0);
    const auto yellow = [](Colour c) { return plat::redOf(c) > 200 && plat::greenOf(c) > 150 && plat::blueOf(c) < 120; };
    EXPECT_GT(countWhere(*cursor, 0, 0, 16, 14, yellow), 20);
}

TEST(Bitmaps, CaptionsLandOnTheEmptyBoxesOfTheMenuBackground) {
    // Laid over the menu background where the game draws them, a caption
    // changes only the pixels of its word, in the middle rows of the box.
    const BitmapPtr menu = load(136);
    ASSERT_NE(menu, nullptr);
    const Expected captions[] = {{155, 0, 0}, {156, 0, 0}, {157, 0, 0}, {166, 88, 0}, {103, 88, 0},
                                 {104, 88, 0}, {167, 88, 0}, {125, 88, 0}, {126, 88, 0}};
    for (const Expected& c : captions) {
        SCOPED_TRACE(c.id);
        const BitmapPtr caption = load(c.id);
        ASSERT_NE(caption, nullptr);
        int changed = 0;
        for (int y = 0; y < caption->height; ++y)
            for (int x = 0; x < caption->width; ++x) {
                const Colour p = at(*caption, x, y);
                if (p == kBlue || p == at(*menu, c.width + x, 198 + y)) continue;
                ++changed;
                EXPECT_TRUE(y >= 5 && y <= 16 && x >= 10 && x < caption->width - 10) << x << "," << y;
            }
        EXPECT_GT(changed, 20) << "the word is there";
    }
}

TEST(Bitmaps, HudBandAndHungerBar) {
    const BitmapPtr background = load(116);
    ASSERT_NE(background, nullptr);
    // The score is drawn on the band's dark blue from (122, 2) to (147, 19).
    for (int y = 2; y < 19; ++y)
        for (int x = 122; x < 147; ++x) ASSERT_EQ(at(*background, x, y), kHudBlue) << x << "," << y;
    const auto green = [](Colour c) { return plat::greenOf(c) > plat::redOf(c) + 40 && plat::greenOf(c) > plat::blueOf(c) + 40; };
    EXPECT_GT(countWhere(*background, 0, 0, 60, 18, green), 300) << "the whole green fish at the left";
    const auto notBand = [](Colour c) { return c != kHudBlue; };
    EXPECT_GT(countWhere(*background, 104, 0, 122, 18, notBand), 20) << "the fish sign left of the score";

    const BitmapPtr bar = load(101);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(at(*bar, 0, 0), kHudBlue);
    EXPECT_EQ(at(*bar, 59, 17), kHudBlue);
    const auto bone = [](Colour c) { return plat::redOf(c) > 140 && plat::greenOf(c) > 140 && plat::blueOf(c) > 110; };
    EXPECT_GT(countWhere(*bar, 0, 0, 60, 18, bone), 60);
}

TEST(Bitmaps, TextAreasAreDarkEnoughForWhiteText) {
    const BitmapPtr menu = load(136);
    const BitmapPtr panel = load(131);
    ASSERT_NE(menu, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_LT(meanLuminance(*menu, 55, 45, 130, 160), 90.0);
    EXPECT_LT(meanLuminance(*panel, 10, 10, 125, 150), 110.0);
}

TEST(Icon, BothSizesHaveAFishOnSeeThroughMagenta) {
    for (int size : {32, 16}) {
        SCOPED_TRACE(size);
        const BitmapPtr icon(plat::loadIcon(108, size));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->width, size);
        EXPECT_EQ(icon->height, size);
        EXPECT_EQ(at(*icon, 0, 0), kMagenta);
        EXPECT_EQ(at(*icon, size - 1, size - 1), kMagenta);
        const auto drawn = [](Colour c) { return c != kMagenta; };
        EXPECT_GT(countWhere(*icon, 0, 0, size, size, drawn), size * size / 4);
    }
}

struct WaveCase {
    const char16_t* name;
    uint32_t dataBytes;
};

TEST(Waves, HeadersAndLengths) {
    for (const WaveCase& w : {WaveCase{u"FLARE", 144576}, WaveCase{u"DEF", 1652}}) {
        const plat::ResourceData file = plat::findWave(w.name);
        ASSERT_NE(file.data, nullptr);
        ASSERT_EQ(file.size, 44u + w.dataBytes);
        const uint8_t* p = file.data;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(p), 4), "RIFF");
        EXPECT_EQ(readLe(p + 4, 4), 36u + w.dataBytes);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 8), 8), "WAVEfmt ");
        EXPECT_EQ(readLe(p + 16, 4), 16u);
        EXPECT_EQ(readLe(p + 20, 2), 1u) << "PCM";
        EXPECT_EQ(readLe(p + 22, 2), 1u) << "mono";
        EXPECT_EQ(readLe(p + 24, 4), 11025u);
        EXPECT_EQ(readLe(p + 28, 4), 11025u);
        EXPECT_EQ(readLe(p + 32, 2), 1u);
        EXPECT_EQ(readLe(p + 34, 2), 8u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(p + 36), 4), "data");
        EXPECT_EQ(readLe(p + 40, 4), w.dataBytes);
        // Starts and ends at silence, so neither the start nor a cut pops.
        EXPECT_EQ(p[44], 0x80);
        EXPECT_EQ(p[44 + w.dataBytes - 1], 0x80);
    }
}

TEST(Waves, TheClickIsShortAndTheMusicIsNotSilent) {
    const plat::ResourceData click = plat::findWave(u"DEF");
    const plat::ResourceData music = plat::findWave(u"FLARE");
    ASSERT_NE(click.data, nullptr);
    ASSERT_NE(music.data, nullptr);
    size_t lastSound = 0;
    for (size_t i = 44; i < click.size; ++i)
        if (click.data[i] != 0x80) lastSound = i - 44;
    EXPECT_GT(lastSound, 50u);
    EXPECT_LT(lastSound, 1000u) << "a click, then silence";
    // Every second of the music has something playing in it.
    for (size_t second = 0; second < 13; ++second) {
        int loud = 0;
        for (size_t i = 44 + second * 11025; i < 44 + (second + 1) * 11025; ++i)
            if (music.data[i] < 0x60 || music.data[i] > 0xA0) ++loud;
        EXPECT_GT(loud, 500) << "second " << second;
    }
}

using test_files::readFile;

TEST(Generator, ReproducesTheCommittedAssetsByteForByte) {
    namespace fs = std::filesystem;
    const fs::path generator = fs::path(FINGULP_BINARY_DIR) / "tools" / "fingulp_assetgen";
    ASSERT_TRUE(fs::exists(generator)) << generator;
    const test_files::ScratchFolder scratch("assetgen_test");
    const fs::path& out = scratch.folder();
    const std::string command = "\"" + generator.string() + "\" \"" + out.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const fs::path committed = fs::path(FINGULP_SOURCE_DIR) / "assets";
    int compared = 0;
    for (const char* dir : {"bitmaps", "sounds", "icon"}) {
        std::vector<std::string> made, kept;
        for (const auto& e : fs::directory_iterator(out / "assets" / dir)) made.push_back(e.path().filename().string());
        for (const auto& e : fs::directory_iterator(committed / dir)) kept.push_back(e.path().filename().string());
        std::sort(made.begin(), made.end());
        std::sort(kept.begin(), kept.end());
        EXPECT_EQ(made, kept) << dir;
        for (const std::string& name : made) {
            SCOPED_TRACE(std::string(dir) + "/" + name);
            EXPECT_TRUE(readFile(out / "assets" / dir / name) == readFile(committed / dir / name));
            ++compared;
        }
    }
    EXPECT_EQ(compared, 44 + 2 + 2);
}

}  // namespace
