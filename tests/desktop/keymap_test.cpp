// The keyboard as the handset's keypad: which code or role each key has on
// any layout.
#include <gtest/gtest.h>

#include "platform/sdl/keymap.h"
#include "platform/types.h"

namespace {

using plat::sdl::KeyRole;
using plat::sdl::meaningOf;

uint32_t codeOf(SDL_Scancode scancode, SDL_Keycode keycode = SDLK_UNKNOWN, uint16_t modifiers = 0) {
    const auto meaning = meaningOf(scancode, keycode, modifiers);
    return meaning.role == KeyRole::HandsetKey ? meaning.code : 0xFFFFFFFF;
}

KeyRole roleOf(SDL_Scancode scancode, uint16_t modifiers = 0) {
    return meaningOf(scancode, SDL_GetKeyFromScancode(scancode), modifiers).role;
}

TEST(KeyMapping, NavigationActionAndBackKeys) {
    EXPECT_EQ(codeOf(SDL_SCANCODE_LEFT), plat::kKeyLeft);
    EXPECT_EQ(codeOf(SDL_SCANCODE_UP), plat::kKeyUp);
    EXPECT_EQ(codeOf(SDL_SCANCODE_RIGHT), plat::kKeyRight);
    EXPECT_EQ(codeOf(SDL_SCANCODE_DOWN), plat::kKeyDown);
    EXPECT_EQ(codeOf(SDL_SCANCODE_RETURN), 13u);
    EXPECT_EQ(codeOf(SDL_SCANCODE_KP_ENTER), 13u);
    // Escape and Backspace go back as the left soft key does (BACK, MENU).
    EXPECT_EQ(roleOf(SDL_SCANCODE_ESCAPE), KeyRole::LeftSoftKey);
    EXPECT_EQ(roleOf(SDL_SCANCODE_BACKSPACE), KeyRole::LeftSoftKey);
    EXPECT_EQ(roleOf(SDL_SCANCODE_AC_BACK), KeyRole::LeftSoftKey);
}

TEST(KeyMapping, TopRowAndKeypadDigitsWhateverTheLayoutPrints) {
    const SDL_Scancode top[] = {SDL_SCANCODE_0, SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3, SDL_SCANCODE_4,
                                SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7, SDL_SCANCODE_8, SDL_SCANCODE_9};
    const SDL_Scancode pad[] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
                                SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,
                                SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9};
    for (uint32_t digit = 0; digit < 10; ++digit) {
        EXPECT_EQ(codeOf(top[digit], SDLK_0 + static_cast<SDL_Keycode>(digit)), 0x30 + digit) << digit;
        EXPECT_EQ(codeOf(pad[digit], SDLK_KP_0), 0x30 + digit) << digit;
    }
    // A French keyboard's top row prints symbols there: still the digits.
    EXPECT_EQ(codeOf(SDL_SCANCODE_2, 0xE9 /* é */), 0x32u);
    EXPECT_EQ(codeOf(SDL_SCANCODE_4, '\''), 0x34u);
    // With Num Lock off the keypad's 4 is still a 4, not an arrow.
    EXPECT_EQ(codeOf(SDL_SCANCODE_KP_4, SDLK_KP_4), 0x34u);
}

TEST(KeyMapping, LettersFollowTheLayoutAndFallBackToTheKeysPlace) {
    EXPECT_EQ(codeOf(SDL_SCANCODE_A, SDLK_a), 'A');
    EXPECT_EQ(codeOf(SDL_SCANCODE_Z, SDLK_z), 'Z');
    // AZERTY: the key where US keyboards have Q types an A.
    EXPECT_EQ(codeOf(SDL_SCANCODE_Q, SDLK_a), 'A');
    // A Cyrillic layout types no Latin letter: the place decides.
    EXPECT_EQ(codeOf(SDL_SCANCODE_F, 0x0430), 'F');
}

TEST(KeyMapping, OtherKeysGetTheirHandsetCodesAndTheRestNothing) {
    EXPECT_EQ(codeOf(SDL_SCANCODE_SPACE), 0x20u);
    EXPECT_EQ(codeOf(SDL_SCANCODE_TAB), 0x09u);
    EXPECT_EQ(codeOf(SDL_SCANCODE_F3), 0x72u);
    EXPECT_EQ(codeOf(SDL_SCANCODE_F10), 0x79u);
    EXPECT_EQ(codeOf(SDL_SCANCODE_KP_PLUS), 0x6Bu);
    EXPECT_EQ(codeOf(SDL_SCANCODE_MINUS), 0xBDu);
    EXPECT_EQ(codeOf(SDL_SCANCODE_LSHIFT), 0x10u);
    EXPECT_EQ(roleOf(SDL_SCANCODE_VOLUMEUP), KeyRole::None);
    EXPECT_EQ(roleOf(SDL_SCANCODE_UNKNOWN), KeyRole::None);
}

TEST(KeyMapping, DesktopKeysAreTheBackEndsOwn) {
    EXPECT_EQ(roleOf(SDL_SCANCODE_F1), KeyRole::LeftSoftKey);
    EXPECT_EQ(roleOf(SDL_SCANCODE_F2), KeyRole::RightSoftKey);
    EXPECT_EQ(roleOf(SDL_SCANCODE_F11), KeyRole::Fullscreen);
    EXPECT_EQ(roleOf(SDL_SCANCODE_F12), KeyRole::Screenshot);
    EXPECT_EQ(roleOf(SDL_SCANCODE_RETURN, KMOD_LALT), KeyRole::Fullscreen);
    EXPECT_EQ(roleOf(SDL_SCANCODE_KP_ENTER, KMOD_RALT), KeyRole::Fullscreen);
    // Ctrl or Shift with Enter is still the action key.
    EXPECT_EQ(codeOf(SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_LCTRL | KMOD_LSHIFT), 13u);
}

}  // namespace
