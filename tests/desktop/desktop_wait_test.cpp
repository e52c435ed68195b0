// Waiting on this SDL version: the wait for input blocks in the OS and really
// times out at its deadline, wakes early for input, and sleeps last their whole
// time while collecting the input that arrives for afterwards.
#include <sys/resource.h>

#include <thread>

#include "desktop_fixture.h"
#include "hook/present_figures.h"
#include "platform/backend.h"

namespace {

using desktop_test::DesktopTest;

uint64_t cpuMicroseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<uint64_t>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000 +
           static_cast<uint64_t>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
}

// A key press arriving from the OS `afterMs` from now.
std::thread keyFromOutside(uint32_t afterMs) {
    return std::thread([afterMs] {
        SDL_Delay(afterMs);
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.scancode = SDL_SCANCODE_RETURN;
        event.key.keysym.sym = SDLK_RETURN;
        SDL_PushEvent(&event);
    });
}

TEST_F(DesktopTest, TheWaitTimesOutAtItsDeadlineWithoutSpinning) {
    settle();
    for (const uint64_t span : {30u, 400u}) {
        const uint64_t cpuBefore = cpuMicroseconds();
        const uint64_t start = plat::backend::now();
        plat::backend::waitForInput(start + span);
        const uint64_t waited = plat::backend::now() - start;
        const uint64_t cpu = cpuMicroseconds() - cpuBefore;
        EXPECT_GE(waited, span);
        EXPECT_LT(waited, span + 250) << "the wait overslept";
        // A busy wait would burn the whole span.
        EXPECT_LT(cpu, span * 1000 / 2) << "CPU used during a " << span << " ms wait: " << cpu << " us";
    }
    EXPECT_TRUE(fedEvents().empty());
}

TEST_F(DesktopTest, InputEndsTheWaitEarly) {
    settle();
    std::thread outside = keyFromOutside(100);
    const uint64_t start = plat::backend::now();
    plat::backend::waitForInput(start + 5000);
    const uint64_t waited = plat::backend::now() - start;
    outside.join();
    EXPECT_GE(waited, 90u);
    EXPECT_LT(waited, 2000u);
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].param, 13u);
}

TEST_F(DesktopTest, ASleepLastsItsTimeAndKeepsTheInputForLater) {
    settle();
    std::thread outside = keyFromOutside(50);
    const uint64_t start = plat::backend::now();
    plat::backend::sleep(300);
    const uint64_t slept = plat::backend::now() - start;
    outside.join();
    EXPECT_GE(slept, 300u);
    EXPECT_LT(slept, 550u);
    // The key came during the sleep and waits in the queue, as on the handset.
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, plat::kEventKeyDown);
}

TEST_F(DesktopTest, TheScreenIsPresentedOnlyWhenItChanged) {
    settle();
    const uint64_t before = desktop_hook::presentFigures().presents;
    for (int tick = 0; tick < 5; ++tick) plat::backend::waitForInput(plat::backend::now() + 20);
    EXPECT_EQ(desktop_hook::presentFigures().presents, before) << "an unchanged screen was presented again";
    plat::Surface* screen = plat::screenSurface();
    const plat::Brush red{0x000000FF};
    plat::selectBrush(screen, &red);
    plat::drawRectangle(screen, 0, 0, 10, 10);
    plat::selectBrush(screen, nullptr);
    plat::backend::waitForInput(plat::backend::now() + 20);
    EXPECT_EQ(desktop_hook::presentFigures().presents, before + 1);
    plat::backend::waitForInput(plat::backend::now() + 20);
    EXPECT_EQ(desktop_hook::presentFigures().presents, before + 1);
}

}  // namespace
