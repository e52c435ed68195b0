// The "Get Ready!" card: white words on a blue screen for three seconds.
#include "screens/get_ready.h"

#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/clock.h"
#include "platform/drawing.h"

void showGetReady() {
    plat::Surface* screen = surfaces.screen;
    if (screen) {
        plat::selectPen(screen, surfaces.boxPen);
        plat::selectBrush(screen, surfaces.boxBrush);
        plat::drawRectangle(screen, 0, 0, 176, 220);
        plat::setBackgroundColour(screen, plat::kBlue);
        plat::setTextColour(screen, plat::kWhite);
        plat::selectFont(screen, drawing.textFont);
        plat::drawText(screen, u"Get Ready!", -1, plat::Rect{1, 1, 175, 219},
                       plat::kTextCentre | plat::kTextVerticalCentre | plat::kTextSingleLine);
    }
    plat::sleepMs(3000);
}
