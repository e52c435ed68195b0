// The desktop handset started for one test on SDL's dummy drivers (unless the
// environment names others, as the X server run does), with a window whose
// procedure records nothing: what the back end feeds is read from the queue.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/input.h"
#include "platform/sdl/desktop.h"
#include "platform/sdl/sdl_internal.h"
#include "platform/testing/windowing_reset.h"
#include "platform/windowing.h"
#include "support/files.h"

namespace desktop_test {

inline int paintsSent = 0;

inline int32_t quietProcedure(plat::Window* window, uint32_t code, uint32_t param, uint32_t param2) {
    if (code == plat::kEventPaint) ++paintsSent;
    if (code == plat::kEventCreate) {
        plat::createSoftKeyBar(window, 136, plat::kCommandLeftSoftKey, plat::kCommandRightSoftKey);
        return 0;
    }
    return plat::defaultWindowProc(window, code, param, param2);
}

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        // The window remembered goes to a folder of the test's, never the player's.
        setenv("XDG_CONFIG_HOME", configHome.folder().c_str(), 1);
        // The one-copy marker too: a private runtime folder of the test's.
        std::filesystem::permissions(runtimeDir.folder(), std::filesystem::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtimeDir.folder().c_str(), 1);
        plat::resetWindowing();
        paintsSent = 0;
        ASSERT_EQ(plat::sdl::startDesktop(), 0);
        ASSERT_TRUE(plat::registerClass(u"HelloApp", quietProcedure, 108));
        window = plat::createWindow(u"HelloApp", u"Test", 176, 220);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(plat::sdl::desktopWindow(), nullptr);
    }
    void TearDown() override {
        plat::input::releaseAll();
        plat::sdl::stopDesktop();
        plat::resetWindowing();
    }

    // Lets the window system finish showing the window (an X server sends
    // focus and exposure then), and forgets what it fed meanwhile.
    static void settle() {
        const uint64_t end = plat::backend::now() + 300;
        while (plat::backend::now() < end) plat::backend::waitForInput(end);
        fedEvents();
    }

    // Every event fed so far, in order (the queue is emptied).
    static std::vector<plat::Event> fedEvents() {
        plat::postQuit(0);
        std::vector<plat::Event> events;
        plat::Event event;
        while (plat::nextEvent(event)) events.push_back(event);
        return events;
    }

    plat::Window* window = nullptr;
    const test_files::ScratchFolder configHome{"config"};
    const test_files::ScratchFolder runtimeDir{"runtime"};
};

}  // namespace desktop_test
