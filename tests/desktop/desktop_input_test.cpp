// What the desktop feeds the program: key presses and the held-key state over
// ticks, soft keys from F1/F2 and from clicks on the captions, focus, exposure,
// the close button, and the test executable's input scripts.
#include <iterator>

#include "desktop_fixture.h"
#include "hook/script_input.h"
#include "platform/backend.h"
#include "platform/input.h"

namespace {

using desktop_test::DesktopTest;
using plat::sdl::handleEvent;
using plat::sdl::handleKey;

void key(SDL_Scancode scancode, bool down, uint16_t modifiers = 0, bool repeat = false) {
    handleKey(scancode, SDL_GetKeyFromScancode(scancode), modifiers, down, repeat);
}

// A left click at screen pixel x, y, as SDL reports it (scaled to the screen).
bool handleClick(int32_t x, int32_t y) {
    SDL_Event event{};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.x = x;
    event.button.y = y;
    return handleEvent(event);
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

TEST_F(DesktopTest, KeysReachTheProgramInOrderAndRepeatsOnlyOnceTheEarlierPressIsHandled) {
    key(SDL_SCANCODE_DOWN, true);
    key(SDL_SCANCODE_DOWN, true, 0, true);  // the first Down still waits: dropped
    key(SDL_SCANCODE_UP, true, 0, true);    // another key's repeat is not
    key(SDL_SCANCODE_DOWN, false);
    key(SDL_SCANCODE_DOWN, true);  // a first press never is
    key(SDL_SCANCODE_KP_ENTER, true);
    key(SDL_SCANCODE_KP_ENTER, false);
    key(SDL_SCANCODE_BACKSPACE, true);
    key(SDL_SCANCODE_7, true);
    key(SDL_SCANCODE_VOLUMEUP, true);
    auto events = fedEvents();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_TRUE(isKeyDown(events[0], plat::kKeyDown));
    EXPECT_TRUE(isKeyDown(events[1], plat::kKeyUp));
    EXPECT_TRUE(isKeyDown(events[2], plat::kKeyDown));
    EXPECT_TRUE(isKeyDown(events[3], 13));
    EXPECT_TRUE(isCommand(events[4], plat::kCommandLeftSoftKey));
    EXPECT_TRUE(isKeyDown(events[5], '7'));
    // Once handled, the held key's repeat is a further press, and the next waits again.
    key(SDL_SCANCODE_DOWN, true, 0, true);
    key(SDL_SCANCODE_DOWN, true, 0, true);
    events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(isKeyDown(events[0], plat::kKeyDown));
    // While the program is busy (a blocking click), repeats are dropped too.
    {
        const plat::input::Blocked blocked;
        key(SDL_SCANCODE_DOWN, true, 0, true);
        key(SDL_SCANCODE_RIGHT, true);
    }
    events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(isKeyDown(events[0], plat::kKeyRight));
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
    auto events = fedEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[2].code, plat::kEventFocusLost);
    EXPECT_EQ(events[3].code, plat::kEventFocusGained);

    // Hidden (or minimised) is the focus lost and shown again the focus
    // gained, whatever SDL knows of the keyboard focus (a game resumed with
    // the pointer after a focus loss has no focus to lose); each hiding is
    // told once, and a stale event the window's state contradicts not at all.
    SDL_Window* shown = plat::sdl::desktopWindow();
    const struct {
        const char* step;
        void (*act)(SDL_Window*);
        uint32_t fed;  // 0: nothing
    } steps[] = {
        {"focus lost", [](SDL_Window*) { handleEvent(windowEvent(SDL_WINDOWEVENT_FOCUS_LOST)); }, plat::kEventFocusLost},
        {"hide", [](SDL_Window* w) { SDL_HideWindow(w); }, plat::kEventFocusLost},
        {"hidden again", [](SDL_Window*) { handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED)); }, 0},
        {"show", [](SDL_Window* w) { SDL_ShowWindow(w); }, plat::kEventFocusGained},
        {"stale minimise", [](SDL_Window*) { handleEvent(windowEvent(SDL_WINDOWEVENT_MINIMIZED)); }, 0},
        {"stale restore", [](SDL_Window*) { handleEvent(windowEvent(SDL_WINDOWEVENT_RESTORED)); }, 0},
    };
    for (const auto& step : steps) {
        step.act(shown);
        plat::sdl::pumpEvents();
        events = fedEvents();
        ASSERT_EQ(events.size(), step.fed ? 1u : 0u) << step.step;
        if (step.fed) {
            EXPECT_EQ(events[0].code, step.fed) << step.step;
        }
    }
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

// The test executable's scripts: the runner's language as the events of a
// keyboard and a window manager, at their times.
TEST_F(DesktopTest, TestScriptsBecomeTimedDesktopEvents) {
    std::vector<plat::script::Command> commands;
    std::string error;
    ASSERT_TRUE(plat::script::parse("wait 1000\nkey 4\nhold left 120\ndown 18\nkey enter\nup 18\nwait 20\n"
                                    "soft right\nfocus lost\npaint\nclose\n",
                                    commands, error))
        << error;
    std::vector<desktop_hook::TimedEvent> events;
    ASSERT_TRUE(desktop_hook::eventsOf(commands, events, error)) << error;
    const struct {
        uint64_t at;
        uint32_t type;
        SDL_Scancode key;
        uint16_t modifiers;
        uint8_t windowEvent;
    } expected[] = {
        {1000, SDL_KEYDOWN, SDL_SCANCODE_4, 0, 0},
        {1000, SDL_KEYUP, SDL_SCANCODE_4, 0, 0},
        {1000, SDL_KEYDOWN, SDL_SCANCODE_LEFT, 0, 0},
        {1120, SDL_KEYUP, SDL_SCANCODE_LEFT, 0, 0},
        {1120, SDL_KEYDOWN, SDL_SCANCODE_LALT, KMOD_LALT, 0},
        {1120, SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT, 0},
        {1120, SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT, 0},
        {1120, SDL_KEYUP, SDL_SCANCODE_LALT, 0, 0},
        {1140, SDL_KEYDOWN, SDL_SCANCODE_F2, 0, 0},
        {1140, SDL_KEYUP, SDL_SCANCODE_F2, 0, 0},
        {1140, SDL_WINDOWEVENT, SDL_SCANCODE_UNKNOWN, 0, SDL_WINDOWEVENT_FOCUS_LOST},
        {1140, SDL_WINDOWEVENT, SDL_SCANCODE_UNKNOWN, 0, SDL_WINDOWEVENT_EXPOSED},
        {1140, SDL_QUIT, SDL_SCANCODE_UNKNOWN, 0, 0},
    };
    ASSERT_EQ(events.size(), std::size(expected));
    for (size_t i = 0; i < events.size(); ++i) {
        const SDL_Event& e = events[i].event;
        EXPECT_EQ(events[i].at, expected[i].at) << "event " << i;
        EXPECT_EQ(e.type, expected[i].type) << "event " << i;
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
            EXPECT_EQ(e.key.keysym.scancode, expected[i].key) << "event " << i;
            EXPECT_EQ(e.key.keysym.mod, expected[i].modifiers) << "event " << i;
        }
        if (e.type == SDL_WINDOWEVENT) {
            EXPECT_EQ(e.window.event, expected[i].windowEvent) << "event " << i;
        }
    }
    // What the desktop cannot do is refused by line.
    const struct {
        const char* script;
        const char* error;
    } refused[] = {
        {"wait 10\nstate\n", "line 2: screenshots and state lines are the headless handset's"},
        {"shot a.png\n", "line 1: screenshots and state lines are the headless handset's"},
        {"key 7\n\nkey 255\n", "line 3: no keyboard key gives key code 255"},
    };
    for (const auto& r : refused) {
        ASSERT_TRUE(plat::script::parse(r.script, commands, error)) << error;
        EXPECT_FALSE(desktop_hook::eventsOf(commands, events, error)) << r.script;
        EXPECT_EQ(error, r.error);
    }
}

}  // namespace
