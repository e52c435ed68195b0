// The menu screens' pictures and texts, loaded once at the first paint, and
// the copies that draw those pictures.
#include "media/drawing_objects.h"
#include "platform/resources.h"
#include "screens/controller.h"

namespace {

constexpr const plat::Char* kMenuItems[5] = {u"New", u"Options", u"About", u"Help", u"Exit"};

// Seven lines show at a time; the last one is a blank the list scrolls onto.
constexpr const plat::Char* kHelpLines[10] = {
    u"The aim of the game ", u"is to eat as many of", u"the smaller fishes as", u"as you can  and not",
    u"being eaten by fish",  u"which is a bigger. ",  u"   For swim use the ",  u"navigation keys or ",
    u"use 2, 4, 6, 8 keys.", u" ",
};

}  // namespace

void ScreenController::loadResources() {
    menuBitmapSurface = plat::createMemorySurface(drawing.menuTextSurface);
    backgroundBitmap = plat::loadBitmap(136);
    panelBitmap = plat::loadBitmap(131);
    cursorBitmap = plat::loadBitmap(148);
    boxBitmaps[0] = plat::loadBitmap(150);
    boxBitmaps[1] = plat::loadBitmap(151);
    boxBitmaps[2] = plat::loadBitmap(160);
    boxBitmaps[3] = plat::loadBitmap(161);
    upArrowBitmap = plat::loadBitmap(135);
    downArrowBitmap = plat::loadBitmap(133);
    backCaption = plat::loadBitmap(155);
    menuCaption = plat::loadBitmap(156);
    selectCaption = plat::loadBitmap(166);
    storeCaption = plat::loadBitmap(103);
    okCaption = plat::loadBitmap(104);
    resumeCaption = plat::loadBitmap(125);
    pauseCaption = plat::loadBitmap(126);
    for (int i = 0; i < 5; ++i) menuItems[i] = kMenuItems[i];
    for (int i = 0; i < 10; ++i) helpLines[i] = kHelpLines[i];
}

void ScreenController::copyPicture(plat::Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                                   plat::Bitmap* picture, int32_t sx, int32_t sy) {
    if (!picture || !menuBitmapSurface) return;
    plat::selectBitmap(menuBitmapSurface, picture);
    plat::blockCopy(dest, x, y, width, height, menuBitmapSurface, sx, sy);
}

void ScreenController::copyPictureKeyed(plat::Surface* dest, int32_t x, int32_t y, int32_t width,
                                        int32_t height, plat::Bitmap* picture, int32_t sx, int32_t sy,
                                        plat::Colour key) {
    if (!picture || !menuBitmapSurface) return;
    plat::selectBitmap(menuBitmapSurface, picture);
    plat::transparentCopy(dest, x, y, width, height, menuBitmapSurface, sx, sy, key);
}
