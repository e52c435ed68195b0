// Starting the window manager afresh, for tests that run the program many
// times in one process.
#include "platform/testing/windowing_reset.h"

#include <algorithm>

#include "platform/core/window_manager.h"

namespace plat {

void resetWindowing() {
    detail::WindowManager& m = detail::wm();
    delete m.bar;
    m.bar = nullptr;
    delete m.window;
    m.window = nullptr;
    m.classRegistered = false;
    m.windowClass = {};
    m.queue.clear();
    for (detail::Timer& t : m.timers) t.active = false;
    m.quitRequested = false;
    m.closeRequested = false;
    m.exitCode = 0;
    m.screen.pen = nullptr;
    m.screen.brush = nullptr;
    m.screen.font = nullptr;
    m.screen.textColour = kBlack;
    m.screen.backgroundColour = kWhite;
    m.screen.opaqueText = true;
    std::fill(m.screenBitmap.pixels.begin(), m.screenBitmap.pixels.end(), kWhite);
}

}  // namespace plat
