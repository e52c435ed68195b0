// The pixel renderer: colour rules between one-bit and colour bitmaps,
// block and transparent copies with their clipping, rectangles.
#include <gtest/gtest.h>

#include "platform/drawing.h"
#include "canvas.h"
#include "platform/headless/headless.h"

namespace {

using namespace plat;

constexpr Colour kRed = rgb(255, 0, 0);
constexpr Colour kGreen = rgb(0, 255, 0);
constexpr Colour kYellow = 0x000AFFFF;
constexpr Colour kDarkBlue = 0x00844100;


void fillWithBrush(Surface* surface, Colour colour, int32_t width, int32_t height) {
    Brush* brush = createSolidBrush(colour);
    selectBrush(surface, brush);
    selectPen(surface, nullptr);
    drawRectangle(surface, 0, 0, width, height);
    deleteBrush(brush);
}

TEST(Surfaces, FreshMemorySurfaceMakesOneBitBitmapsAndSelectingNullRestoresIt) {
    Surface* memory = createMemorySurface(nullptr);
    ASSERT_NE(memory->bitmap, nullptr);
    EXPECT_EQ(memory->bitmap, &memory->ownBitmap);
    EXPECT_TRUE(memory->bitmap->oneBit);
    EXPECT_EQ(memory->bitmap->width, 1);
    EXPECT_EQ(memory->bitmap->height, 1);

    Bitmap* mono = createCompatibleBitmap(memory, 177, 220);
    EXPECT_TRUE(mono->oneBit);
    EXPECT_EQ(mono->pixels.size(), 177u * 220u);

    Bitmap* colour = createBitmap(4, 4, false);
    EXPECT_EQ(selectBitmap(memory, colour), &memory->ownBitmap);
    Bitmap* fromColour = createCompatibleBitmap(memory, 3, 3);
    EXPECT_FALSE(fromColour->oneBit);

    EXPECT_EQ(selectBitmap(memory, nullptr), colour);
    EXPECT_EQ(memory->bitmap, &memory->ownBitmap);

    // Deleting a bitmap that is still selected leaves the surface on its own bitmap.
    selectBitmap(memory, colour);
    deleteBitmap(colour);
    EXPECT_EQ(memory->bitmap, &memory->ownBitmap);

    deleteBitmap(mono);
    deleteBitmap(fromColour);
    deleteSurface(memory);
}

TEST(OneBitRules, ColoursBecomeTheNearerOfBlackAndWhite) {
    Canvas mono(4, 1, true, 1);
    struct Case {
        Colour colour;
        uint32_t expected;
    } cases[] = {{kBlue, 0}, {kWhite, 1}, {kBlack, 0}, {kYellow, 1}, {kDarkBlue, 0}, {rgb(200, 200, 200), 1}};
    for (const Case& c : cases) {
        fillWithBrush(mono.surface, c.colour, 4, 1);
        EXPECT_EQ(mono.at(2, 0), c.expected) << std::hex << c.colour;
    }
}

TEST(OneBitRules, MenuTextLayerFilledBlueComesOutBlack) {
    Surface* layerSurface = createMemorySurface(nullptr);
    Bitmap* layer = createCompatibleBitmap(layerSurface, 177, 220);
    selectBitmap(layerSurface, layer);
    std::fill(layer->pixels.begin(), layer->pixels.end(), 1u);
    Pen* bluePen = createPen(1, kBlue);
    Brush* blueBrush = createSolidBrush(kBlue);
    selectPen(layerSurface, bluePen);
    selectBrush(layerSurface, blueBrush);
    drawRectangle(layerSurface, 0, 0, 177, 220);
    for (uint32_t v : layer->pixels) ASSERT_EQ(v, 0u);
    deleteSurface(layerSurface);
    deleteBitmap(layer);
    deletePen(bluePen);
    deleteBrush(blueBrush);
}

TEST(OneBitRules, BlockCopiesBetweenFormats) {
    Canvas mono(3, 1, true);
    mono.set(0, 0, 1);
    mono.set(2, 0, 1);
    Canvas colour(3, 1, false, kDarkBlue);
    setBackgroundColour(colour.surface, kRed);
    setTextColour(colour.surface, kGreen);

    blockCopy(colour.surface, 0, 0, 3, 1, mono.surface, 0, 0);
    EXPECT_EQ(colour.at(0, 0), kRed);    // set bit: destination's background colour
    EXPECT_EQ(colour.at(1, 0), kGreen);  // clear bit: destination's text colour
    EXPECT_EQ(colour.at(2, 0), kRed);

    // Colour onto one-bit: 1 exactly where the source shows its own background colour.
    Canvas source(3, 1, false, kYellow);
    source.set(1, 0, kBlue);
    setBackgroundColour(source.surface, kBlue);
    blockCopy(mono.surface, 0, 0, 3, 1, source.surface, 0, 0);
    EXPECT_EQ(mono.at(0, 0), 0u);
    EXPECT_EQ(mono.at(1, 0), 1u);
    EXPECT_EQ(mono.at(2, 0), 0u);
}

TEST(OneBitRules, TransparentCopyOfTextLayerDrawsOnlySetBitsInBackgroundColour) {
    Canvas layer(8, 2, true);  // the text layer: glyph bits set on black
    layer.set(1, 0, 1);
    layer.set(6, 1, 1);
    Canvas screen(8, 2, false, kDarkBlue);
    setBackgroundColour(screen.surface, kWhite);
    setTextColour(screen.surface, kYellow);

    transparentCopy(screen.surface, 0, 0, 8, 2, layer.surface, 0, 0, kBlack);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const bool glyph = (x == 1 && y == 0) || (x == 6 && y == 1);
            EXPECT_EQ(screen.at(x, y), glyph ? kWhite : kDarkBlue) << x << "," << y;
        }
    }

    // Blue converts to black as well, so it keys out the same pixels.
    Canvas second(8, 2, false, kDarkBlue);
    setBackgroundColour(second.surface, kWhite);
    transparentCopy(second.surface, 0, 0, 8, 2, layer.surface, 0, 0, kBlue);
    EXPECT_EQ(second.bitmap->pixels, screen.bitmap->pixels);

    // Keying white instead draws the clear bits, in the destination's text colour.
    transparentCopy(screen.surface, 0, 0, 8, 2, layer.surface, 0, 0, kWhite);
    EXPECT_EQ(screen.at(0, 0), kYellow);
    EXPECT_EQ(screen.at(1, 0), kWhite);
}

TEST(Copies, TransparentCopySkipsTheKeyColourOnly) {
    Canvas sprite(3, 2, false, kWhite);
    sprite.set(1, 0, kRed);
    sprite.set(0, 1, kBlue);
    sprite.set(2, 1, rgb(254, 255, 255));  // near-white is not the key
    Canvas frame(3, 2, false, kGreen);
    transparentCopy(frame.surface, 0, 0, 3, 2, sprite.surface, 0, 0, kWhite);
    EXPECT_EQ(frame.at(0, 0), kGreen);
    EXPECT_EQ(frame.at(1, 0), kRed);
    EXPECT_EQ(frame.at(2, 0), kGreen);
    EXPECT_EQ(frame.at(0, 1), kBlue);
    EXPECT_EQ(frame.at(1, 1), kGreen);
    EXPECT_EQ(frame.at(2, 1), rgb(254, 255, 255));
}

// Gives every pixel a value that tells where it came from.
void number(Canvas& c) {
    for (int32_t y = 0; y < c.bitmap->height; ++y)
        for (int32_t x = 0; x < c.bitmap->width; ++x) c.set(x, y, static_cast<uint32_t>(1000 * y + x + 1));
}

TEST(Copies, ClippedToTheSourcesRightEdge) {
    // The class-2 school strip is 43 wide but its halves are drawn 22 wide at 22.
    Canvas strip(43, 20, false, kRed);
    Canvas frame(60, 30, false, kGreen);
    blockCopy(frame.surface, 5, 5, 44, 20, strip.surface, 0, 0);
    EXPECT_EQ(frame.at(5 + 42, 10), kRed);
    EXPECT_EQ(frame.at(5 + 43, 10), kGreen);  // the 44th column does not exist in the source

    Canvas second(60, 30, false, kGreen);
    transparentCopy(second.surface, 0, 0, 22, 20, strip.surface, 22, 0, kWhite);
    EXPECT_EQ(second.at(20, 0), kRed);
    EXPECT_EQ(second.at(21, 0), kGreen);
    EXPECT_EQ(second.at(0, 20), kGreen);  // nor does a 21st row

    // A source reaching below its bitmap or starting left of it is cut the same way.
    Canvas third(10, 10, false, kGreen);
    blockCopy(third.surface, 2, 2, 6, 6, strip.surface, -3, 17);
    EXPECT_EQ(third.at(2 + 2, 2), kGreen);   // source column -1
    EXPECT_EQ(third.at(2 + 3, 2), kRed);     // source column 0
    EXPECT_EQ(third.at(2 + 3, 2 + 2), kRed); // source row 19
    EXPECT_EQ(third.at(2 + 3, 2 + 3), kGreen);
}

TEST(Copies, ClippedToTheDestinationIncludingNegativePositions) {
    Canvas source(10, 10, false);
    number(source);
    Canvas dest(8, 6, false, 0);
    blockCopy(dest.surface, -3, -2, 10, 10, source.surface, 0, 0);
    EXPECT_EQ(dest.at(0, 0), source.at(3, 2));
    EXPECT_EQ(dest.at(6, 5), source.at(9, 7));
    EXPECT_EQ(dest.at(7, 5), 0u);  // would need source column 10, which does not exist

    Canvas keyed(8, 6, false, kGreen);
    transparentCopy(keyed.surface, 5, 4, 10, 10, source.surface, 1, 1, kWhite);
    EXPECT_EQ(keyed.at(5, 4), source.at(1, 1));
    EXPECT_EQ(keyed.at(7, 5), source.at(3, 2));
    EXPECT_EQ(keyed.at(4, 4), kGreen);

    // Entirely outside: nothing happens and nothing breaks.
    const std::vector<uint32_t> before = keyed.bitmap->pixels;
    blockCopy(keyed.surface, -20, 0, 10, 10, source.surface, 0, 0);
    transparentCopy(keyed.surface, 8, 6, 10, 10, source.surface, 0, 0, kWhite);
    blockCopy(keyed.surface, 0, 0, 5, 5, source.surface, 10, 0);
    EXPECT_EQ(keyed.bitmap->pixels, before);
}

TEST(Copies, OverlappingCopyWithinOneBitmapReadsTheOriginal) {
    Canvas c(4, 6, false);
    number(c);
    const std::vector<uint32_t> original = c.bitmap->pixels;
    blockCopy(c.surface, 0, 2, 4, 4, c.surface, 0, 0);
    for (int32_t y = 2; y < 6; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(c.at(x, y), original[(y - 2) * 4 + x]);
}

TEST(Rectangles, ThinPenIsTheOutermostRingWithExclusiveRightAndBottom) {
    Canvas c(12, 10, false, kGreen);
    Pen* pen = createPen(1, kBlack);
    Brush* brush = createSolidBrush(kBlue);
    selectPen(c.surface, pen);
    selectBrush(c.surface, brush);
    drawRectangle(c.surface, 2, 1, 9, 7);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 12; ++x) {
            const bool inside = x >= 2 && x < 9 && y >= 1 && y < 7;
            const bool ring = inside && (x == 2 || x == 8 || y == 1 || y == 6);
            EXPECT_EQ(c.at(x, y), ring ? kBlack : inside ? kBlue : kGreen) << x << "," << y;
        }
    }
    deletePen(pen);
    deleteBrush(brush);
}

TEST(Rectangles, WidePenIsCentredOnTheOutlineAndMissingPartsAreSkipped) {
    Canvas c(20, 20, false, kGreen);
    Pen* pen = createPen(3, kRed);
    selectPen(c.surface, pen);
    selectBrush(c.surface, nullptr);
    drawRectangle(c.surface, 5, 5, 15, 15);
    // Left side: columns 4..6 around column 5; right side: 13..15 around 14.
    EXPECT_EQ(c.at(3, 10), kGreen);
    EXPECT_EQ(c.at(4, 10), kRed);
    EXPECT_EQ(c.at(6, 10), kRed);
    EXPECT_EQ(c.at(7, 10), kGreen);  // no brush: the inside stays
    EXPECT_EQ(c.at(12, 10), kGreen);
    EXPECT_EQ(c.at(13, 10), kRed);
    EXPECT_EQ(c.at(15, 10), kRed);
    EXPECT_EQ(c.at(16, 10), kGreen);
    EXPECT_EQ(c.at(10, 4), kRed);
    EXPECT_EQ(c.at(10, 15), kRed);
    EXPECT_EQ(c.at(10, 16), kGreen);

    // The full-screen card with a 3-pixel pen clips at the bitmap's edges.
    drawRectangle(c.surface, 0, 0, 20, 20);
    EXPECT_EQ(c.at(0, 0), kRed);
    EXPECT_EQ(c.at(19, 19), kRed);
    EXPECT_EQ(c.at(1, 10), kRed);
    EXPECT_EQ(c.at(2, 10), kGreen);

    // Brush only: the whole rectangle is filled.
    Canvas d(6, 6, false, kGreen);
    Brush* brush = createSolidBrush(kBlue);
    selectBrush(d.surface, brush);
    drawRectangle(d.surface, 1, 1, 5, 5);
    EXPECT_EQ(d.at(1, 1), kBlue);
    EXPECT_EQ(d.at(4, 4), kBlue);
    EXPECT_EQ(d.at(5, 5), kGreen);

    // Neither: nothing.
    selectBrush(d.surface, nullptr);
    const std::vector<uint32_t> before = d.bitmap->pixels;
    drawRectangle(d.surface, 0, 0, 6, 6);
    EXPECT_EQ(d.bitmap->pixels, before);
    deletePen(pen);
    deleteBrush(brush);
}

TEST(Screen, EachDrawingOperationOnTheScreenIsReportedOnce) {
    Canvas screen(176, 220, false, kBlack);
    screen.surface->isScreen = true;
    Canvas sprite(10, 10, false, kRed);
    const size_t before = headless::screenChanges();
    blockCopy(screen.surface, 0, 0, 176, 220, sprite.surface, 0, 0);
    EXPECT_EQ(headless::screenChanges(), before + 1);
    transparentCopy(screen.surface, 0, 0, 10, 10, sprite.surface, 0, 0, kWhite);
    EXPECT_EQ(headless::screenChanges(), before + 2);
    blockCopy(sprite.surface, 0, 0, 10, 10, screen.surface, 0, 0);  // off-screen target
    EXPECT_EQ(headless::screenChanges(), before + 2);
}

}  // namespace
