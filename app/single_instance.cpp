// The one-running-copy rule: a named marker, and when it already exists, up
// to five tries of looking for the other copy's window twice, 500 ms apart.
#include "app/single_instance.h"

#include "platform/clock.h"
#include "platform/windowing.h"

uint32_t singleInstanceCheck(const plat::Char* className, const plat::Char* title, uint8_t& found) {
    int tries = 5;
    found = 0;
    for (;;) {
        const plat::MarkerResult marker = plat::createInstanceMarker(className);
        if (marker == plat::MarkerResult::Failed) return kInstanceCheckFailed;
        if (marker == plat::MarkerResult::Created) break;  // the only copy: keep the marker

        plat::ForeignWindow other = plat::findWindow(className, title);
        if (!other) {
            plat::sleepMs(500);
            other = plat::findWindow(className, title);
        }
        if (other) {
            plat::bringToFront(other | 1);
            found = 1;
            break;
        }
        if (--tries <= 0 || plat::closeRequested()) break;
    }
    return tries > 0 ? 0 : kInstanceCheckFailed;
}
