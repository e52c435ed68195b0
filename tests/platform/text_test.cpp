// Text drawing: the cell and baseline, alignment, line breaks and word wrap,
// clipping to the rectangle, one-bit text layers and the glyph cache.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "platform/drawing.h"
#include "canvas.h"

// Counts heap allocations so a test can see that a cached draw makes none.
namespace {
std::atomic<size_t> allocations{0};
}
void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
// Every form of new and delete is replaced together, so they stay paired.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocations;
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return ::operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

using namespace plat;

constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kGreen = rgb(0, 255, 0);


// Bounding box of the pixels that match (or, with `invert`, differ from) a value.
Rect boundsOf(const Canvas& c, uint32_t value, bool invert = false) {
    Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = 0; y < c.bitmap->height; ++y) {
        for (int32_t x = 0; x < c.bitmap->width; ++x) {
            if ((c.at(x, y) == value) != invert) {
                r.left = std::min(r.left, x);
                r.top = std::min(r.top, y);
                r.right = std::max(r.right, x + 1);
                r.bottom = std::max(r.bottom, y + 1);
            }
        }
    }
    return r;
}

bool anyInRows(const Canvas& c, uint32_t value, int32_t top, int32_t bottom) {
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = 0; x < c.bitmap->width; ++x)
            if (c.at(x, y) == value) return true;
    return false;
}

class Text : public ::testing::Test {
protected:
    void SetUp() override {
        bold14 = createFont(u"Arial", 14, 600);
        ASSERT_NE(bold14, nullptr);
    }
    void TearDown() override { deleteFont(bold14); }

    // White text, on a red opaque background unless `opaque` is false.
    void prepare(Canvas& c, const Font* font, bool opaque = true) {
        selectFont(c.surface, font);
        setTextColour(c.surface, kWhite);
        setBackgroundColour(c.surface, kRed);
        setOpaqueText(c.surface, opaque);
    }

    Font* bold14 = nullptr;
};

TEST_F(Text, GlyphsStayInsideTheirCellWithDescendersBelowTheBaseline) {
    // At 18 pixels the vertical bar reaches one row below the cell, as in the
    // face it stands in for; the About screen draws no such character there.
    struct Case {
        int32_t cell;
        int32_t weight;
        int32_t baseline;
        const Char* text;
    } cases[] = {{14, 600, 11, u"\u00C1Hgjy|()[]Q_"}, {14, 0, 11, u"\u00C1Hgjy|()[]Q_"},
                 {12, 0, 10, u"\u00C1Hgjy|()[]Q_"}, {18, 600, 15, u"\u00C1Hgjy()[]Q_ FINGULP v.05.00.04"}};
    for (const Case& k : cases) {
        Font* font = createFont(u"Arial", k.cell, k.weight);
        ASSERT_NE(font, nullptr);
        Canvas c(176, 60, false, kBlack);
        prepare(c, font, false);
        const int32_t height = drawText(c.surface, k.text, -1, Rect{0, 20, 176, 60}, kTextLeft);
        EXPECT_EQ(height, k.cell);
        const Rect ink = boundsOf(c, kWhite);
        EXPECT_GE(ink.top, 20) << "cell " << k.cell;
        EXPECT_LE(ink.bottom, 20 + k.cell) << "cell " << k.cell;
        // Capitals reach up to near the cell's top and descenders hang below the baseline.
        EXPECT_LE(ink.top, 20 + 3) << "cell " << k.cell;
        EXPECT_TRUE(anyInRows(c, kWhite, 20 + k.baseline, 20 + k.cell)) << "cell " << k.cell;
        deleteFont(font);
    }
}

TEST_F(Text, CentredLineHasEqualMarginsAndOpaqueBoxOfTheCellsHeight) {
    Canvas c(176, 40, false, kGreen);
    prepare(c, bold14);
    const Rect rect{10, 5, 150, 35};
    drawText(c.surface, u"Get Ready!", -1, rect, kTextCentre | kTextSingleLine);
    const Rect box = boundsOf(c, kGreen, true);
    EXPECT_EQ(box.right - box.left, textWidth(bold14, u"Get Ready!", -1));
    EXPECT_LE(std::abs((box.left - rect.left) - (rect.right - box.right)), 1);
    EXPECT_EQ(box.top, rect.top);
    EXPECT_EQ(box.bottom, rect.top + 14);
    EXPECT_NE(boundsOf(c, kWhite).left, INT32_MAX);  // the glyphs are there, in text colour

    // Left alignment starts at the rectangle's left edge.
    Canvas left(176, 40, false, kGreen);
    prepare(left, bold14);
    drawText(left.surface, u"Sound", -1, rect, kTextLeft);
    EXPECT_EQ(boundsOf(left, kGreen, true).left, rect.left);
}

TEST_F(Text, VerticalCentreAppliesToSingleLineText) {
    Canvas c(176, 220, false, kBlue);
    prepare(c, bold14);
    drawText(c.surface, u"Get Ready!", -1, Rect{1, 1, 175, 219},
             kTextCentre | kTextVerticalCentre | kTextSingleLine);
    const Rect box = boundsOf(c, kBlue, true);
    EXPECT_EQ(box.top, 1 + (218 - 14) / 2);
    EXPECT_EQ(box.bottom, box.top + 14);
    EXPECT_LE(std::abs((box.left - 1) - (175 - box.right)), 1);
}

TEST_F(Text, NewlineBreaksLinesUnlessSingleLine) {
    Canvas c(100, 60, false, kBlack);
    prepare(c, bold14, false);
    EXPECT_EQ(drawText(c.surface, u"AB\nCD", -1, Rect{0, 0, 100, 60}, kTextLeft), 28);
    EXPECT_TRUE(anyInRows(c, kWhite, 0, 14));
    EXPECT_TRUE(anyInRows(c, kWhite, 14, 28));

    Canvas one(100, 60, false, kBlack);
    prepare(one, bold14, false);
    EXPECT_EQ(drawText(one.surface, u"AB\nCD", -1, Rect{0, 0, 100, 60}, kTextSingleLine), 14);
    EXPECT_FALSE(anyInRows(one, kWhite, 14, 60));
    // The "\n" takes no room: the line is as wide as "ABCD".
    EXPECT_EQ(textWidth(bold14, u"AB\nCD", -1), textWidth(bold14, u"ABCD", -1));
}

TEST_F(Text, WordBreakWrapsAtSpacesAndDropsTheSpaceAtTheBreak) {
    const int32_t fits = textWidth(bold14, u"aa bb", -1);
    Canvas c(176, 60, false, kGreen);
    prepare(c, bold14);
    const Rect rect{10, 0, 10 + fits, 60};
    EXPECT_EQ(drawText(c.surface, u"aa bb cc", -1, rect, kTextWordBreak), 28);
    // Line one is "aa bb" exactly; line two "cc", both from the left edge.
    EXPECT_EQ(c.at(10, 0), kRed);
    EXPECT_EQ(c.at(10 + fits - 1, 0), kRed);
    const int32_t second = textWidth(bold14, u"cc", -1);
    EXPECT_EQ(c.at(10 + second - 1, 14), kRed);
    EXPECT_EQ(c.at(10 + second, 14), kGreen);
    EXPECT_EQ(c.at(10, 28), kGreen);

    // Centred, wrapped and broken by "\n", as the game-over box draws its message.
    Canvas box(176, 220, false, kGreen);
    prepare(box, bold14);
    const Rect boxRect{20, 85, 157, 145};
    const int32_t height = drawText(box.surface, u"Game over!\nYour best score was beaten today", -1, boxRect,
                                    kTextCentre | kTextWordBreak);
    EXPECT_GE(height, 3 * 14);
    for (int32_t line = 0; line * 14 < height && 85 + line * 14 < 145; ++line) {
        int32_t first = INT32_MAX, last = INT32_MIN;
        for (int32_t x = 0; x < 176; ++x) {
            if (box.at(x, 85 + line * 14) == kGreen) continue;
            first = std::min(first, x);
            last = std::max(last, x);
        }
        ASSERT_NE(first, INT32_MAX) << "line " << line;
        EXPECT_GE(first, boxRect.left);
        EXPECT_LT(last, boxRect.right);
        EXPECT_LE(std::abs((first - boxRect.left) - (boxRect.right - 1 - last)), 1) << "line " << line;
    }

    // A word wider than the rectangle keeps its line and is clipped.
    Canvas narrow(176, 40, false, kGreen);
    prepare(narrow, bold14);
    EXPECT_EQ(drawText(narrow.surface, u"Wonderful it", -1, Rect{0, 0, 30, 40}, kTextWordBreak), 28);
    EXPECT_EQ(boundsOf(narrow, kGreen, true).right, 30);
}

TEST_F(Text, EverythingIsClippedToTheRectangle) {
    Canvas c(176, 60, false, kGreen);
    prepare(c, bold14);
    const Rect rect{30, 20, 60, 28};
    drawText(c.surface, u"WWWWWWWWWW", -1, rect, kTextCentre | kTextSingleLine);
    const Rect touched = boundsOf(c, kGreen, true);
    EXPECT_EQ(touched.left, rect.left);
    EXPECT_EQ(touched.top, rect.top);
    EXPECT_EQ(touched.right, rect.right);
    EXPECT_EQ(touched.bottom, rect.bottom);

    // A second line cut by the bottom edge shows its top part; a third shows nothing.
    Canvas d(176, 60, false, kGreen);
    prepare(d, bold14, false);
    drawText(d.surface, u"HHH\nHHH\nHHH", -1, Rect{0, 5, 176, 26}, kTextLeft);
    EXPECT_TRUE(anyInRows(d, kWhite, 5, 19));
    EXPECT_TRUE(anyInRows(d, kWhite, 19, 26));
    EXPECT_FALSE(anyInRows(d, kWhite, 26, 60));

    // A rectangle reaching past the bitmap on every side is cut by the bitmap.
    Canvas e(40, 10, false, kGreen);
    prepare(e, bold14);
    drawText(e.surface, u"WWWWWWWWWW", -1, Rect{-30, -6, 80, 20}, kTextCentre | kTextSingleLine);
    const Rect covered = boundsOf(e, kGreen, true);  // the line's box: rows -6..7, wider than the bitmap
    EXPECT_EQ(covered.left, 0);
    EXPECT_EQ(covered.top, 0);
    EXPECT_EQ(covered.right, 40);
    EXPECT_EQ(covered.bottom, 8);
}

TEST_F(Text, NothingIsDrawnWithoutAFontOrRoom) {
    Canvas c(50, 20, false, kGreen);
    prepare(c, nullptr);
    EXPECT_EQ(drawText(c.surface, u"Hello", -1, Rect{0, 0, 50, 20}, kTextLeft), 0);
    EXPECT_EQ(textWidth(nullptr, u"Hello", -1), 0);
    prepare(c, bold14);
    drawText(c.surface, u"Hello", -1, Rect{10, 5, 10, 20}, kTextLeft);
    drawText(c.surface, u"Hello", 0, Rect{0, 0, 50, 20}, kTextLeft);
    EXPECT_EQ(boundsOf(c, kGreen, true).left, INT32_MAX);
}

TEST_F(Text, OneBitLayerCarriesGlyphsAsSetBitsOntoTheScreen) {
    // The menu draws its items white on a black one-bit layer, then copies the
    // layer with black as the key: only the glyphs reach the screen, in white.
    Surface* layerSurface = createMemorySurface(nullptr);
    Bitmap* layer = createCompatibleBitmap(layerSurface, 177, 220);
    selectBitmap(layerSurface, layer);
    selectFont(layerSurface, bold14);
    setBackgroundColour(layerSurface, kBlack);
    setTextColour(layerSurface, kWhite);
    drawText(layerSurface, u"Options", -1, Rect{0, 110, 176, 130}, kTextCentre);

    Canvas screen(176, 220, false, kGreen);
    setBackgroundColour(screen.surface, kWhite);
    transparentCopy(screen.surface, 55, 30, 75, 135, layerSurface, 55, 70, kBlack);
    size_t white = 0;
    for (int32_t y = 0; y < 220; ++y) {
        for (int32_t x = 0; x < 176; ++x) {
            const uint32_t v = screen.at(x, y);
            ASSERT_TRUE(v == kGreen || v == kWhite);
            if (v != kWhite) continue;
            ++white;
            EXPECT_EQ(pixelAt(layerSurface, x, y + 40), 1u);
        }
    }
    EXPECT_GT(white, 20u);
    deleteSurface(layerSurface);
    deleteBitmap(layer);
}

TEST_F(Text, CachedDrawAllocatesNothingAndDrawsTheSame) {
    Canvas first(60, 20, false, kGreen);
    prepare(first, bold14);
    const Rect score{0, 2, 25, 19};
    drawText(first.surface, u"  7", -1, score, kTextLeft | kTextSingleLine);

    Canvas again(60, 20, false, kGreen);
    prepare(again, bold14);
    const size_t before = allocations.load();
    drawText(again.surface, u"  7", -1, score, kTextLeft | kTextSingleLine);
    EXPECT_EQ(allocations.load(), before);
    EXPECT_EQ(again.bitmap->pixels, first.bitmap->pixels);
}

}  // namespace
