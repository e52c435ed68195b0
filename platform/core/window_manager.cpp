// The window manager's one record (window_manager.h), made on first use with
// a white screen. The loop (windowing.cpp) and the input rules (input.cpp)
// both work on it.
#include "platform/core/window_manager.h"

namespace plat::detail {

WindowManager& wm() {
    static WindowManager manager;
    static bool ready = false;
    if (!ready) {
        ready = true;
        manager.screenBitmap.width = kScreenWidth;
        manager.screenBitmap.height = kScreenHeight;
        manager.screenBitmap.oneBit = false;
        manager.screenBitmap.pixels.assign(static_cast<size_t>(kScreenWidth) * kScreenHeight, kWhite);
        manager.screen.bitmap = &manager.screenBitmap;
        manager.screen.isScreen = true;
    }
    return manager;
}

}  // namespace plat::detail
