// Baked fonts: the nearest one to any request, the glyphs outside printable
// ASCII, and damaged data refused rather than read past its end.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "canvas.h"
#include "platform/core/baked_font.h"
#include "platform/drawing.h"

namespace {

using namespace plat;

TEST(BakedFont, AnyRequestGetsTheNearestBakedHeightOfItsWeight) {
    // Baked: 12, 14 and 18 in both weights. Equally near: the smaller.
    // Negative heights are em sizes: em 12 is a 13-pixel cell, em 16 an 18-pixel one.
    const struct {
        int32_t requested, weight, cell;
    } cases[] = {{14, 600, 14}, {12, 0, 12},   {18, 600, 18},       {13, 600, 12},      {16, 0, 14},
                 {17, 600, 18}, {15, 0, 14},   {1, 600, 12},        {500, 0, 18},       {0, 600, 12},
                 {-12, 0, 12},  {-16, 600, 18}, {INT32_MIN, 600, 18}, {INT32_MAX, 0, 18}};
    for (const auto& k : cases) {
        Font* font = createFont(u"Arial", k.requested, k.weight);
        ASSERT_NE(font, nullptr) << k.requested;
        Canvas c(100, 40, false, kBlack);
        selectFont(c.surface, font);
        EXPECT_EQ(drawText(c.surface, u"Hg", -1, Rect{0, 0, 100, 40}, kTextLeft), k.cell) << k.requested;
        deleteFont(font);
    }
    // A nearest font is the baked one itself, pixel for pixel.
    Font* asked = createFont(u"Arial", 13, 600);
    Font* baked = createFont(u"Arial", 12, 600);
    Canvas a(100, 20, false, kBlack), b(100, 20, false, kBlack);
    selectFont(a.surface, asked);
    selectFont(b.surface, baked);
    for (Canvas* c : {&a, &b}) {
        setTextColour(c->surface, kWhite);
        drawText(c->surface, u"Best: 42", -1, Rect{0, 0, 100, 20}, kTextLeft);
    }
    EXPECT_EQ(a.bitmap->pixels, b.bitmap->pixels);
    EXPECT_NE(std::count(a.bitmap->pixels.begin(), a.bitmap->pixels.end(), kWhite), 0);
    deleteFont(asked);
    deleteFont(baked);
}

TEST(BakedFont, UnbakedCharactersDrawTheMissingBoxAndControlsTakeNoRoom) {
    Font* font = createFont(u"Arial", 14, 0);
    const int32_t box = textWidth(font, u"\u00E9", -1);
    EXPECT_GT(box, 0);
    EXPECT_EQ(textWidth(font, u"\u4E2D", -1), box);
    EXPECT_EQ(textWidth(font, u"\U0001F41F", -1), box) << "a surrogate pair is one character";
    EXPECT_EQ(textWidth(font, u"\t\x7F\x01", -1), 0);
    Canvas c(40, 20, false, kBlack);
    selectFont(c.surface, font);
    setTextColour(c.surface, kWhite);
    drawText(c.surface, u"\u00E9", -1, Rect{0, 0, 40, 20}, kTextLeft);
    EXPECT_NE(std::count(c.bitmap->pixels.begin(), c.bitmap->pixels.end(), kWhite), 0);
    deleteFont(font);
}

TEST(BakedFont, DamagedDataIsRefused) {
    const ResourceData real = findEmbedded("glyphs", "bold-14");
    ASSERT_NE(real.data, nullptr);
    const std::vector<uint8_t> good(real.data, real.data + real.size);
    detail::BakedFont font;
    ASSERT_TRUE(detail::readBakedFont(good.data(), good.size(), font));
    EXPECT_EQ(font.cellHeight, 14);
    EXPECT_EQ(font.baseline, 11);

    for (size_t length = 0; length < good.size(); ++length)
        ASSERT_FALSE(detail::readBakedFont(good.data(), length, font)) << "cut to " << length << " bytes";
    // From offset 4: cell, baseline, units per em, ascent, descent, first code,
    // count; the first glyph from 18: advance, left, top, width, rows.
    const struct {
        size_t at;
        int16_t value;
        size_t alsoAt;  // 0: only one field damaged
    } damages[] = {{0, 0x4758, 0}, {4, 0, 0},   {6, 15, 0},  {8, 0, 0},           {14, 0x21, 0},
                   {16, 94, 0},    {24, -1, 0}, {26, -1, 0}, {24, INT16_MAX, 26}};
    for (const auto& d : damages) {
        std::vector<uint8_t> bad = good;
        for (size_t at : {d.at, d.alsoAt ? d.alsoAt : d.at}) {
            bad[at] = static_cast<uint8_t>(d.value & 0xFF);
            bad[at + 1] = static_cast<uint8_t>((d.value >> 8) & 0xFF);
        }
        EXPECT_FALSE(detail::readBakedFont(bad.data(), bad.size(), font)) << "damage at " << d.at;
    }
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(detail::readBakedFont(longer.data(), longer.size(), font));
    EXPECT_FALSE(detail::readBakedFont(nullptr, 0, font));
}

}  // namespace
