// Starting the window manager afresh, for tests that run the program many
// times in one process, and the raw key readings tests set.
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
    m.fedSinceLook = 0;
    m.quitRequested = false;
    m.exitCode = 0;
    m.screen.pen = nullptr;
    m.screen.brush = nullptr;
    m.screen.font = nullptr;
    m.screen.textColour = kBlack;
    m.screen.backgroundColour = kWhite;
    m.screen.opaqueText = true;
    std::fill(m.screenBitmap.pixels.begin(), m.screenBitmap.pixels.end(), kWhite);
    m.input = {};
}

Window* mainWindowOf() { return detail::wm().window; }

void setKeyReading(uint32_t keyCode, uint16_t reading) {
    constexpr uint64_t kTestSources = 0x200000000;
    auto& held = detail::wm().input.held;
    if (reading) {
        held[kTestSources + keyCode] = {keyCode, reading};
    } else {
        held.erase(kTestSources + keyCode);
    }
}

}  // namespace plat
