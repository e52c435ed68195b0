// What the desktop feeds the program: key presses and the held-key state over
// ticks, soft keys from F1/F2 and from clicks on the captions, focus, exposure,
// the close button, and the test input script that drives the real executable.
#include <cstdio>
#include <fstream>

#include "desktop_fixture.h"
#include "platform/backend.h"

namespace {

using desktop_test::DesktopTest;
using plat::sdl::handleClick;
using plat::sdl::handleEvent;
using plat::sdl::handleKey;

void key(SDL_Scancode scancode, bool down, uint16_t modifiers = 0, bool repeat = false) {
    handleKey(scancode, SDL_GetKeyFromScancode(scancode), modifiers, down, repeat);
}

bool isKeyDown(const plat::Event& e, uint32_t code) { return e.code == plat::kEventKeyDown && e.param == code; }
bool isCommand(const plat::Event& e, uint32_t command) { return e.code == plat::kEventCommand && e.param == command; }

SDL_Event windowEvent(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(id);
    return event;
}

TEST_F(DesktopTest, AHeldKeyReadsHeldInEveryTickUntilReleased) {
    key(SDL_SCANCODE_LEFT, true);
    for (int tick = 0; tick < 4; ++tick) {
        plat::backend::waitForInput(plat::backend::now() + 50);
        EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), plat::kKeyHeld) << "tick " << tick;
    }
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyRight), 0);
    key(SDL_SCANCODE_LEFT, false);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), 0);
    // Exactly one key press reached the program, with no repeat needed.
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(isKeyDown(events[0], plat::kKeyLeft));
}

TEST_F(DesktopTest, KeysReachTheProgramInOrderAndRepeatsAsFurtherPresses) {
    key(SDL_SCANCODE_DOWN, true);
    key(SDL_SCANCODE_DOWN, true, 0, true);
    key(SDL_SCANCODE_DOWN, false);
    key(SDL_SCANCODE_KP_ENTER, true);
    key(SDL_SCANCODE_KP_ENTER, false);
    key(SDL_SCANCODE_BACKSPACE, true);
    key(SDL_SCANCODE_7, true);
    key(SDL_SCANCODE_VOLUMEUP, true);
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_TRUE(isKeyDown(events[0], plat::kKeyDown));
    EXPECT_TRUE(isKeyDown(events[1], plat::kKeyDown));
    EXPECT_TRUE(isKeyDown(events[2], 13));
    EXPECT_TRUE(isKeyDown(events[3], 27));
    EXPECT_TRUE(isKeyDown(events[4], '7'));
}

TEST_F(DesktopTest, SoftKeysComeFromF1F2AndTheCaptionBoxes) {
    key(SDL_SCANCODE_F1, true);
    key(SDL_SCANCODE_F1, true, 0, true);  // a held F1 is one press
    key(SDL_SCANCODE_F1, false);
    key(SDL_SCANCODE_F2, true);
    EXPECT_TRUE(handleClick(0, 198));
    EXPECT_TRUE(handleClick(87, 219));
    EXPECT_TRUE(handleClick(88, 210));
    EXPECT_TRUE(handleClick(175, 219));
    // Above the captions, or outside the screen: nothing.
    EXPECT_FALSE(handleClick(40, 197));
    EXPECT_FALSE(handleClick(40, 220));
    EXPECT_FALSE(handleClick(176, 210));
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_TRUE(isCommand(events[0], plat::kCommandLeftSoftKey));
    EXPECT_TRUE(isCommand(events[1], plat::kCommandRightSoftKey));
    EXPECT_TRUE(isCommand(events[2], plat::kCommandLeftSoftKey));
    EXPECT_TRUE(isCommand(events[3], plat::kCommandLeftSoftKey));
    EXPECT_TRUE(isCommand(events[4], plat::kCommandRightSoftKey));
    EXPECT_TRUE(isCommand(events[5], plat::kCommandRightSoftKey));
    // F1 and F2 are not keys of the handset.
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyF1), 0);
}

TEST_F(DesktopTest, DesktopKeysDoNotReachTheProgram) {
    key(SDL_SCANCODE_LALT, true, KMOD_LALT);
    key(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    key(SDL_SCANCODE_RETURN, false, KMOD_LALT);
    key(SDL_SCANCODE_LALT, false);
    key(SDL_SCANCODE_F11, true);
    key(SDL_SCANCODE_F11, false);
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 1u);  // the Alt key itself
    EXPECT_TRUE(isKeyDown(events[0], 0x12));
    EXPECT_EQ(plat::asyncKeyState(13), 0);
}

TEST_F(DesktopTest, FocusLossReleasesHeldKeysAndReachesTheProgram) {
    key(SDL_SCANCODE_UP, true);
    key(SDL_SCANCODE_8, true);
    handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyUp), 0);
    EXPECT_EQ(plat::asyncKeyState('8'), 0);
    handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED));
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].code, plat::kEventFocusLost);
    EXPECT_EQ(events[3].code, plat::kEventFocusGained);
}

TEST_F(DesktopTest, ExposureAsksForAPaintAndTheCloseButtonForOneClose) {
    handleEvent(windowEvent(SDL_WINDOWEVENT_EXPOSED));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    handleEvent(quit);
    handleEvent(quit);  // a second click while the first is still queued
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, plat::kEventClose);
    plat::updateWindow(window);  // sends the pending paint, if any
    EXPECT_EQ(desktop_test::paintsSent, 1);
}

class TestInputScript : public ::testing::Test {
protected:
    void TearDown() override { unsetenv("FINGULP_TEST_INPUT"); }
    bool load(const std::string& text, std::string& error) {
        const std::string path = ::testing::TempDir() + "fingulp_input_" + std::to_string(getpid()) + ".txt";
        std::ofstream(path) << text;
        setenv("FINGULP_TEST_INPUT", path.c_str(), 1);
        const bool ok = plat::sdl::loadTestInput(error);
        std::remove(path.c_str());
        return ok;
    }
};

TEST_F(TestInputScript, BadLinesAreReportedByNumber) {
    std::string error;
    EXPECT_FALSE(load("wait 100\npress Nosuchkey\n", error));
    EXPECT_EQ(error, "line 2: unknown key 'Nosuchkey'");
    EXPECT_FALSE(load("# a comment\n\nwait soon\n", error));
    EXPECT_EQ(error, "line 3: expected 'wait MS'");
    EXPECT_FALSE(load("click 10\n", error));
    EXPECT_EQ(error, "line 1: expected 'click X Y'");
    EXPECT_FALSE(load("focus away\n", error));
    EXPECT_EQ(error, "line 1: unknown command 'focus away'");
    setenv("FINGULP_TEST_INPUT", "/nonexistent/script.txt", 1);
    EXPECT_FALSE(plat::sdl::loadTestInput(error));
}

TEST_F(TestInputScript, StepsFallDueAtTheirTimes) {
    std::string error;
    ASSERT_TRUE(load("wait 1000\npress Keypad 4   # down, then up 80 ms later\nwait 20\nclose\n", error)) << error;
    const uint64_t first = plat::sdl::nextTestInputAt();
    ASSERT_NE(first, UINT64_MAX);
    EXPECT_FALSE(plat::sdl::runDueTestInput(first - 1));
    // Without a window nothing reaches a program, but the keys are held and let go.
    plat::sdl::runDueTestInput(first);
    EXPECT_EQ(plat::sdl::heldKeyState('4'), plat::kKeyHeld);
    EXPECT_EQ(plat::sdl::nextTestInputAt(), first + 80);
    plat::sdl::runDueTestInput(first + 80);
    EXPECT_EQ(plat::sdl::heldKeyState('4'), 0);
    EXPECT_EQ(plat::sdl::nextTestInputAt(), first + 100);
    plat::sdl::runDueTestInput(first + 100);
    EXPECT_EQ(plat::sdl::nextTestInputAt(), UINT64_MAX);
}

}  // namespace
