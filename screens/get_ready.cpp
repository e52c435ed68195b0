// The "Get Ready!" card: white words on a blue screen for three seconds.
#include "screens/get_ready.h"

#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/clock.h"
#include "platform/drawing.h"

void showGetReady() {
    plat::Surface* screen = surfaces.screen;
    if (screen) {
        drawMessageBox(screen, surfaces.boxPen, plat::Rect{0, 0, 176, 220}, u"Get Ready!", plat::Rect{1, 1, 175, 219},
                       plat::kTextCentre | plat::kTextVerticalCentre | plat::kTextSingleLine);
    }
    plat::sleepMs(3000);
}
