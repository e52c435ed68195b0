// The shared off-screen surfaces with their bitmaps, pen and brush: made once
// for the window and released when it goes.
#include "media/surfaces.h"

#include "platform/resources.h"

SurfaceSet surfaces;

namespace {

constexpr plat::Colour kBoxBlue = 0x00FF0000;
constexpr int32_t kSchoolBitmapIds[5] = {110, 109, 108, 107, 105};
constexpr int32_t kPlayerBitmapIds[5] = {111, 112, 113, 114, 124};
constexpr int32_t kSkeletonBitmapIds[5] = {117, 118, 119, 120, 121};

}  // namespace

void createSurfaces(plat::Window* window) {
    if (surfaces.created) return;
    SurfaceSet& set = surfaces;
    set.screen = plat::windowSurface(window);

    set.spriteSurface = plat::createMemorySurface(set.screen);
    set.boxBrush = plat::createSolidBrush(kBoxBlue);
    set.boxPen = plat::createPen(3, kBoxBlue);

    set.overlaySurface = plat::createMemorySurface(set.screen);
    set.panelSurface = plat::createMemorySurface(set.screen);
    set.overlayBitmap = plat::createCompatibleBitmap(set.screen, 177, 220);
    set.panelBitmap = plat::createCompatibleBitmap(set.screen, 177, 220);

    set.backgroundSurface = plat::createMemorySurface(set.screen);
    set.frameSurface = plat::createMemorySurface(set.screen);
    set.barSurface = plat::createMemorySurface(set.screen);
    set.captionSurface = plat::createMemorySurface(set.screen);
    set.frameBitmap = plat::createCompatibleBitmap(set.screen, plat::kScreenWidth, plat::kScreenHeight);
    plat::setBackgroundColour(set.frameSurface, kBoxBlue);

    set.barBitmap = plat::loadBitmap(101);
    set.backgroundBitmap = plat::loadBitmap(116);
    set.bubbleBitmap = plat::loadBitmap(122);
    for (int i = 0; i < 5; ++i) set.skeletonBitmaps[i] = plat::loadBitmap(kSkeletonBitmapIds[i]);
    for (int i = 0; i < 5; ++i) set.schoolBitmaps[i] = plat::loadBitmap(kSchoolBitmapIds[i]);
    for (int i = 0; i < 5; ++i) set.playerBitmaps[i] = plat::loadBitmap(kPlayerBitmapIds[i]);
    set.captionBitmap = plat::loadBitmap(156);

    for (int i = 0; i < 5; ++i) {
        set.schoolSurfaces[i] = plat::createMemorySurface(set.screen);
        plat::selectBitmap(set.schoolSurfaces[i], set.schoolBitmaps[i]);
    }

    plat::selectBitmap(set.captionSurface, set.captionBitmap);
    plat::selectBitmap(set.overlaySurface, set.overlayBitmap);
    plat::selectBitmap(set.panelSurface, set.panelBitmap);
    plat::selectBitmap(set.backgroundSurface, set.backgroundBitmap);
    plat::selectBitmap(set.frameSurface, set.frameBitmap);
    set.created = true;
}

void releaseSurfaces(plat::Window* window) {
    if (!surfaces.created) return;
    SurfaceSet& set = surfaces;
    // Surfaces first, so that no surface still holds a bitmap being freed.
    plat::Surface* memorySurfaces[] = {set.frameSurface,   set.backgroundSurface, set.spriteSurface,
                                       set.barSurface,     set.captionSurface,    set.overlaySurface,
                                       set.panelSurface,   set.schoolSurfaces[0], set.schoolSurfaces[1],
                                       set.schoolSurfaces[2], set.schoolSurfaces[3], set.schoolSurfaces[4]};
    for (plat::Surface* surface : memorySurfaces) plat::deleteSurface(surface);

    plat::Bitmap* bitmaps[] = {set.frameBitmap,        set.overlayBitmap,      set.panelBitmap,
                               set.backgroundBitmap,   set.barBitmap,          set.bubbleBitmap,
                               set.captionBitmap,      set.schoolBitmaps[0],   set.schoolBitmaps[1],
                               set.schoolBitmaps[2],   set.schoolBitmaps[3],   set.schoolBitmaps[4],
                               set.playerBitmaps[0],   set.playerBitmaps[1],   set.playerBitmaps[2],
                               set.playerBitmaps[3],   set.playerBitmaps[4],   set.skeletonBitmaps[0],
                               set.skeletonBitmaps[1], set.skeletonBitmaps[2], set.skeletonBitmaps[3],
                               set.skeletonBitmaps[4]};
    for (plat::Bitmap* bitmap : bitmaps) plat::deleteBitmap(bitmap);

    plat::deleteBrush(set.boxBrush);
    plat::deletePen(set.boxPen);
    plat::releaseWindowSurface(window, set.screen);
    set = SurfaceSet{};
}
