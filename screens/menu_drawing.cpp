// The five-row menu of the main and in-game menus: white words from the
// one-bit text layer over the background picture, the cursor fish beside the
// highlighted row.
#include "media/drawing_objects.h"
#include "screens/controller.h"

namespace {

constexpr uint32_t kCentredLine = plat::kTextCentre | plat::kTextSingleLine;

}  // namespace

void ScreenController::drawMainMenu(plat::Surface* screen) {
    if (previousState != state) {
        copyPicture(screen, 0, 0, 177, 220, backgroundBitmap, 0, 0);
    } else {
        // Only the cursor moved: restore its column, leave the rest alone.
        copyPicture(screen, 20, 30, 20, 150, backgroundBitmap, 20, 30);
    }
    // The text layer's set bits come out in the screen's background colour.
    plat::setBackgroundColour(screen, plat::kWhite);

    plat::Surface* text = drawing.menuTextSurface;
    plat::selectFont(text, drawing.textFont);
    plat::setBackgroundColour(text, plat::kBlack);
    plat::setTextColour(text, plat::kWhite);
    plat::setOpaqueText(text, true);
    for (int32_t i = 0; i < 5; ++i) {
        if (cursor == i) copyPictureKeyed(screen, 24, 49 + 25 * i, 16, 14, cursorBitmap, 0, 0, plat::kBlue);
        if (text && menuItems[i]) {
            plat::drawText(text, menuItems[i], -1, plat::Rect{0, 85 + 25 * i, 176, 105 + 25 * i}, kCentredLine);
        }
    }
    // The layer is drawn 40 pixels lower than it shows.
    if (text) plat::transparentCopy(screen, 55, 30, 75, 135, text, 55, 70, plat::kBlack);
}
