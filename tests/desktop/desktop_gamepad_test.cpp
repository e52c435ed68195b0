// A game controller as the handset's keypad, on SDL's virtual controller:
// hot-plugging, buttons and the left stick as keys (held state too), the soft
// keys, and rumble started and stopped by the vibrator calls.
#include "desktop_fixture.h"
#include "platform/backend.h"

namespace {

using desktop_test::DesktopTest;

struct RumbleLog {
    std::vector<std::pair<Uint16, Uint16>> calls;
};

int recordRumble(void* userdata, Uint16 low, Uint16 high) {
    static_cast<RumbleLog*>(userdata)->calls.push_back({low, high});
    return 0;
}

class GamepadTest : public DesktopTest {
protected:
    void SetUp() override {
        // The dummy desktop never gives the window the focus, and without it
        // SDL holds controller input back, as it should for a player.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        DesktopTest::SetUp();
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test pad";
        desc.userdata = &rumble;
        desc.Rumble = recordRumble;
        deviceIndex = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(deviceIndex, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(deviceIndex);
        ASSERT_NE(joystick, nullptr);
        plat::sdl::pumpEvents();
    }
    void TearDown() override {
        if (joystick) SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(deviceIndex);
        DesktopTest::TearDown();
    }
    void press(SDL_GameControllerButton button, bool down) {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
        plat::sdl::pumpEvents();
    }
    void stick(SDL_GameControllerAxis axis, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick, axis, value);
        plat::sdl::pumpEvents();
    }

    RumbleLog rumble;
    int deviceIndex = -1;
    SDL_Joystick* joystick = nullptr;
};

TEST_F(GamepadTest, ButtonsAreTheActionBackAndArrowKeysAndStayHeld) {
    ASSERT_TRUE(plat::sdl::gamepadConnected());
    press(SDL_CONTROLLER_BUTTON_A, true);
    press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    for (int tick = 0; tick < 3; ++tick) {
        plat::backend::waitForInput(plat::backend::now() + 50);
        EXPECT_EQ(plat::asyncKeyState(13), plat::kKeyHeld);
        EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), plat::kKeyHeld);
    }
    press(SDL_CONTROLLER_BUTTON_A, false);
    press(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_EQ(plat::asyncKeyState(13), 0);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), 0);
    press(SDL_CONTROLLER_BUTTON_B, true);
    press(SDL_CONTROLLER_BUTTON_BACK, true);
    press(SDL_CONTROLLER_BUTTON_START, true);
    press(SDL_CONTROLLER_BUTTON_X, true);  // not a handset key
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 5u);
    EXPECT_EQ(events[0].param, 13u);
    EXPECT_EQ(events[1].param, plat::kKeyLeft);
    for (int i = 2; i < 4; ++i) {  // B and Back go back, as the left soft key
        EXPECT_EQ(events[i].code, plat::kEventCommand);
        EXPECT_EQ(events[i].param, plat::kCommandLeftSoftKey);
    }
    EXPECT_EQ(events[4].param, plat::kCommandRightSoftKey);
}

TEST_F(GamepadTest, TheLeftStickPushesArrowsWithoutFlickering) {
    stick(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), plat::kKeyHeld);
    stick(SDL_CONTROLLER_AXIS_LEFTX, -12000);  // easing off, still pushed
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), plat::kKeyHeld);
    stick(SDL_CONTROLLER_AXIS_LEFTX, -17000);  // and back: no second press
    stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyLeft), 0);
    stick(SDL_CONTROLLER_AXIS_LEFTY, 32767);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyDown), plat::kKeyHeld);
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyUp), 0);
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].param, plat::kKeyLeft);
    EXPECT_EQ(events[1].param, plat::kKeyDown);
}

TEST_F(GamepadTest, UnpluggingReleasesItsKeys) {
    press(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    ASSERT_EQ(plat::asyncKeyState(plat::kKeyUp), plat::kKeyHeld);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
    SDL_JoystickDetachVirtual(deviceIndex);
    plat::sdl::pumpEvents();
    EXPECT_FALSE(plat::sdl::gamepadConnected());
    EXPECT_EQ(plat::asyncKeyState(plat::kKeyUp), 0);
}

TEST_F(GamepadTest, TheVibratorRumblesTheControllerUntilStopped) {
    plat::backend::startVibration();
    ASSERT_FALSE(rumble.calls.empty());
    EXPECT_GT(rumble.calls.back().first, 0);
    EXPECT_GT(rumble.calls.back().second, 0);
    plat::backend::stopVibration();
    EXPECT_EQ(rumble.calls.back(), std::make_pair(Uint16{0}, Uint16{0}));
}

}  // namespace
