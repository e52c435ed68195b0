// The shared surfaces: what createSurfaces builds and loads, and a release
// that frees everything and can be repeated.
#include <gtest/gtest.h>

#include "media/surfaces.h"
#include "platform/headless/headless.h"
#include "platform/resources.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"

namespace {

class SurfacesTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::headless::reset();
        plat::resetWindowing();
        createSurfaces(nullptr);
        ASSERT_TRUE(surfaces.created);
    }
    void TearDown() override { releaseSurfaces(nullptr); }
};

bool holdsOwnBitmap(const plat::Surface* surface) { return surface->bitmap == &surface->ownBitmap; }

void expectSize(const plat::Bitmap* bitmap, int32_t width, int32_t height, const char* what) {
    ASSERT_NE(bitmap, nullptr) << what;
    EXPECT_EQ(bitmap->width, width) << what;
    EXPECT_EQ(bitmap->height, height) << what;
}

}  // namespace

TEST_F(SurfacesTest, FrameAndPanelsAreColourBitmapsOfTheirSizes) {
    EXPECT_EQ(surfaces.screen, plat::screenSurface());
    expectSize(surfaces.frameSurface->bitmap, 176, 220, "frame");
    EXPECT_FALSE(surfaces.frameSurface->bitmap->oneBit);
    EXPECT_EQ(surfaces.frameSurface->backgroundColour, plat::kBlue);
    expectSize(surfaces.overlaySurface->bitmap, 177, 220, "overlay");
    expectSize(surfaces.panelSurface->bitmap, 177, 220, "panel");
    EXPECT_FALSE(surfaces.overlaySurface->bitmap->oneBit);
    EXPECT_FALSE(surfaces.panelSurface->bitmap->oneBit);
    EXPECT_TRUE(holdsOwnBitmap(surfaces.spriteSurface));
    EXPECT_TRUE(holdsOwnBitmap(surfaces.barSurface));
    ASSERT_NE(surfaces.boxBrush, nullptr);
    EXPECT_EQ(surfaces.boxBrush->colour, plat::kBlue);
    ASSERT_NE(surfaces.boxPen, nullptr);
    EXPECT_EQ(surfaces.boxPen->width, 3);
    EXPECT_EQ(surfaces.boxPen->colour, plat::kBlue);
}

TEST_F(SurfacesTest, PicturesComeFromTheirResources) {
    expectSize(surfaces.backgroundSurface->bitmap, 176, 220, "background 116");
    expectSize(surfaces.captionSurface->bitmap, 89, 22, "caption 156");
    expectSize(surfaces.barBitmap, 60, 20, "bar 101");
    expectSize(surfaces.bubbleBitmap, 23, 9, "bubbles 122");
    const int32_t schoolWidths[5] = {24, 34, 43, 72, 88};
    const int32_t playerWidths[5] = {24, 36, 44, 72, 94};
    const int32_t skeletonWidths[5] = {24, 36, 44, 72, 88};
    const int32_t heights[5] = {10, 15, 20, 25, 30};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        expectSize(surfaces.schoolSurfaces[i]->bitmap, schoolWidths[i], heights[i], "school");
        EXPECT_EQ(surfaces.schoolSurfaces[i]->bitmap, surfaces.schoolBitmaps[i]);
        expectSize(surfaces.playerBitmaps[i], playerWidths[i], heights[i], "player");
        expectSize(surfaces.skeletonBitmaps[i], skeletonWidths[i], heights[i], "skeleton");
    }

    // The background surface shows bitmap 116 itself.
    plat::Bitmap* background = plat::loadBitmap(116);
    ASSERT_NE(background, nullptr);
    for (int32_t y = 0; y < 220; y += 37) {
        for (int32_t x = 0; x < 176; x += 29) {
            EXPECT_EQ(plat::pixelAt(surfaces.backgroundSurface, x, y), background->pixels[y * 176 + x]);
        }
    }
    plat::deleteBitmap(background);
}

TEST_F(SurfacesTest, CreatingAgainKeepsTheSetItHas) {
    plat::Surface* frame = surfaces.frameSurface;
    plat::Bitmap* bar = surfaces.barBitmap;
    createSurfaces(nullptr);
    EXPECT_EQ(surfaces.frameSurface, frame);
    EXPECT_EQ(surfaces.barBitmap, bar);
}

TEST_F(SurfacesTest, ReleaseEmptiesTheSetAndCanBeRepeated) {
    releaseSurfaces(nullptr);
    EXPECT_FALSE(surfaces.created);
    EXPECT_EQ(surfaces.screen, nullptr);
    EXPECT_EQ(surfaces.frameSurface, nullptr);
    EXPECT_EQ(surfaces.schoolSurfaces[4], nullptr);
    EXPECT_EQ(surfaces.playerBitmaps[4], nullptr);
    EXPECT_EQ(surfaces.boxBrush, nullptr);
    releaseSurfaces(nullptr);
    EXPECT_FALSE(surfaces.created);

    createSurfaces(nullptr);
    EXPECT_TRUE(surfaces.created);
    expectSize(surfaces.frameSurface->bitmap, 176, 220, "frame after a new creation");
}
