// The keys a player chooses: keys.ini's text, what is refused and why, and
// what each keyboard key and gamepad button then presses.
#include <gtest/gtest.h>

#include "platform/sdl/key_bindings.h"
#include "platform/types.h"

namespace {

using plat::sdl::HandsetKey;
using plat::sdl::KeyBindings;
using plat::sdl::KeyRole;

TEST(KeyBindings, TheFilesTextAndWhatIsRefused) {
    const struct {
        const char* text;
        const char* error;  // "": read
    } cases[] = {
        {"", ""},
        {"# WASD\r\nup = W, Up\n  left=A\ndown = S\nright = d\ngamepad-action = a, x\nsticky-arrows = on\n", ""},
        {"action = Keypad Enter, space\ngamepad-left-soft =\n", ""},
        {"up = W\nup = Up\n", "line 2: up is set twice"},
        {"upward = W\n", "line 1: unknown setting 'upward'"},
        {"up = Wubble\n", "line 1: up: unknown key 'Wubble'"},
        {"up = W,\n", "line 1: up: unknown key ''"},
        {"gamepad-up = dpupp\n", "line 1: gamepad-up: unknown button 'dpupp'"},
        {"just words\n", "line 1: 'just words' is not NAME = KEYS"},
        {"sticky-arrows = yes\n", "line 1: sticky-arrows is on or off, not 'yes'"},
        {"up = F11\n", "F11 is the desktop's own (fullscreen) and cannot be bound"},
        {"right-soft = F12\n", "F12 is the desktop's own (screenshot) and cannot be bound"},
        {"up = W\nleft = W\n", "W is bound twice, to up and left"},
        {"up = Escape\n", "Escape is bound twice, to up and left-soft"},
        {"up = W, W\n", "W is bound twice, to up and up"},
        {"gamepad-up = a\n", "gamepad button a is bound twice, to up and action"},
        {"action =\n", "action needs a keyboard key"},
    };
    for (const auto& c : cases) {
        KeyBindings bindings;
        std::string error;
        EXPECT_EQ(plat::sdl::parseKeysText(c.text, bindings, error), !*c.error) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        if (*c.error) continue;
        // What --keys lists reads back as the same keys.
        KeyBindings again;
        ASSERT_TRUE(plat::sdl::parseKeysText(plat::sdl::keysText(bindings), again, error)) << error;
        EXPECT_EQ(plat::sdl::keysText(again), plat::sdl::keysText(bindings)) << c.text;
    }
}

// WASD instead of the arrows, Space as a second action key, X for the action
// on the gamepad, Back no longer a soft key.
TEST(KeyBindings, EachKeyAndButtonPressesWhatItIsBoundTo) {
    KeyBindings bindings;
    std::string error;
    ASSERT_TRUE(plat::sdl::parseKeysText(
        "up = W\nleft = A\ndown = S\nright = D\naction = Return, Space\ngamepad-action = x\ngamepad-left-soft = b\n",
        bindings, error))
        << error;
    const struct {
        SDL_Scancode scancode;
        uint16_t modifiers;
        KeyRole role;
        uint32_t code;
    } keys[] = {
        {SDL_SCANCODE_W, 0, KeyRole::HandsetKey, plat::kKeyUp},
        {SDL_SCANCODE_A, 0, KeyRole::HandsetKey, plat::kKeyLeft},
        {SDL_SCANCODE_S, 0, KeyRole::HandsetKey, plat::kKeyDown},
        {SDL_SCANCODE_D, 0, KeyRole::HandsetKey, plat::kKeyRight},
        {SDL_SCANCODE_SPACE, 0, KeyRole::HandsetKey, plat::kKeyReturn},
        {SDL_SCANCODE_UP, 0, KeyRole::None, 0},        // bound elsewhere no more
        {SDL_SCANCODE_KP_ENTER, 0, KeyRole::None, 0},  // dropped from action
        {SDL_SCANCODE_E, 0, KeyRole::HandsetKey, 'E'},  // not bound: as today
        {SDL_SCANCODE_8, 0, KeyRole::HandsetKey, '8'},
        {SDL_SCANCODE_ESCAPE, 0, KeyRole::LeftSoftKey, 0},
        {SDL_SCANCODE_RETURN, KMOD_LALT, KeyRole::Fullscreen, 0},  // Alt+Enter stays the desktop's
        {SDL_SCANCODE_F12, 0, KeyRole::Screenshot, 0},
    };
    for (const auto& k : keys) {
        const auto meaning =
            plat::sdl::meaningOf(bindings, k.scancode, SDL_GetKeyFromScancode(k.scancode), k.modifiers);
        EXPECT_EQ(meaning.role, k.role) << SDL_GetScancodeName(k.scancode);
        EXPECT_EQ(meaning.code, k.code) << SDL_GetScancodeName(k.scancode);
    }
    const struct {
        SDL_GameControllerButton button;
        HandsetKey key;
    } buttons[] = {
        {SDL_CONTROLLER_BUTTON_X, HandsetKey::Action},      {SDL_CONTROLLER_BUTTON_A, HandsetKey::None},
        {SDL_CONTROLLER_BUTTON_BACK, HandsetKey::None},     {SDL_CONTROLLER_BUTTON_B, HandsetKey::LeftSoft},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, HandsetKey::Up},    {SDL_CONTROLLER_BUTTON_START, HandsetKey::RightSoft},
    };
    for (const auto& b : buttons) {
        EXPECT_EQ(plat::sdl::buttonKey(bindings, b.button), b.key) << SDL_GameControllerGetStringForButton(b.button);
    }
}

}  // namespace
