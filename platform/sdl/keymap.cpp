// The keyboard's keys as handset key codes.
#include "platform/sdl/keymap.h"

#include "platform/types.h"

namespace plat::sdl {
namespace {

// Keys other than digits, letters, arrows and Enter: the codes the handset's
// family gives them.
struct ScancodeCode {
    SDL_Scancode scancode;
    uint32_t code;
};
constexpr ScancodeCode kOtherKeys[] = {
    {SDL_SCANCODE_TAB, 0x09},          {SDL_SCANCODE_SPACE, 0x20},
    {SDL_SCANCODE_PAGEUP, 0x21},       {SDL_SCANCODE_PAGEDOWN, 0x22},
    {SDL_SCANCODE_END, 0x23},          {SDL_SCANCODE_HOME, 0x24},
    {SDL_SCANCODE_INSERT, 0x2D},       {SDL_SCANCODE_DELETE, 0x2E},
    {SDL_SCANCODE_LSHIFT, 0x10},       {SDL_SCANCODE_RSHIFT, 0x10},
    {SDL_SCANCODE_LCTRL, 0x11},        {SDL_SCANCODE_RCTRL, 0x11},
    {SDL_SCANCODE_LALT, 0x12},         {SDL_SCANCODE_RALT, 0x12},
    {SDL_SCANCODE_PAUSE, 0x13},        {SDL_SCANCODE_CAPSLOCK, 0x14},
    {SDL_SCANCODE_PRINTSCREEN, 0x2C},  {SDL_SCANCODE_NUMLOCKCLEAR, 0x90},
    {SDL_SCANCODE_SCROLLLOCK, 0x91},   {SDL_SCANCODE_KP_MULTIPLY, 0x6A},
    {SDL_SCANCODE_KP_PLUS, 0x6B},      {SDL_SCANCODE_KP_MINUS, 0x6D},
    {SDL_SCANCODE_KP_PERIOD, 0x6E},    {SDL_SCANCODE_KP_DIVIDE, 0x6F},
    {SDL_SCANCODE_SEMICOLON, 0xBA},    {SDL_SCANCODE_EQUALS, 0xBB},
    {SDL_SCANCODE_COMMA, 0xBC},        {SDL_SCANCODE_MINUS, 0xBD},
    {SDL_SCANCODE_PERIOD, 0xBE},       {SDL_SCANCODE_SLASH, 0xBF},
    {SDL_SCANCODE_GRAVE, 0xC0},        {SDL_SCANCODE_LEFTBRACKET, 0xDB},
    {SDL_SCANCODE_BACKSLASH, 0xDC},    {SDL_SCANCODE_RIGHTBRACKET, 0xDD},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},   {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
};

KeyMeaning key(uint32_t code) { return {KeyRole::HandsetKey, code}; }

}  // namespace

KeyMeaning meaningOf(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers) {
    const bool alt = (modifiers & KMOD_ALT) != 0;
    switch (scancode) {
        case SDL_SCANCODE_LEFT: return key(kKeyLeft);
        case SDL_SCANCODE_UP: return key(kKeyUp);
        case SDL_SCANCODE_RIGHT: return key(kKeyRight);
        case SDL_SCANCODE_DOWN: return key(kKeyDown);
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_RETURN2:
        case SDL_SCANCODE_KP_ENTER:
            return alt ? KeyMeaning{KeyRole::Fullscreen, 0} : key(kKeyReturn);
        // The program swallows the handset's own Back key: on the desktop the
        // keys a player reaches for to go back are the left soft key, whose
        // caption says BACK or MENU.
        case SDL_SCANCODE_ESCAPE:
        case SDL_SCANCODE_BACKSPACE:
        case SDL_SCANCODE_AC_BACK:
        case SDL_SCANCODE_F1: return {KeyRole::LeftSoftKey, 0};
        case SDL_SCANCODE_F2: return {KeyRole::RightSoftKey, 0};
        case SDL_SCANCODE_F11: return {KeyRole::Fullscreen, 0};
        case SDL_SCANCODE_F12: return {KeyRole::Screenshot, 0};
        case SDL_SCANCODE_0: return key('0');
        case SDL_SCANCODE_KP_0: return key('0');
        default: break;
    }
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return key('1' + (scancode - SDL_SCANCODE_1));
    if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_9) {
        return key('1' + (scancode - SDL_SCANCODE_KP_1));
    }
    if (scancode >= SDL_SCANCODE_F3 && scancode <= SDL_SCANCODE_F10) return key(0x72 + (scancode - SDL_SCANCODE_F3));
    if (keycode >= SDLK_a && keycode <= SDLK_z) return key('A' + (keycode - SDLK_a));
    // A layout without Latin letters: the letter printed at that place on a US keyboard.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return key('A' + (scancode - SDL_SCANCODE_A));
    for (const ScancodeCode& entry : kOtherKeys) {
        if (entry.scancode == scancode) return key(entry.code);
    }
    return {};
}

}  // namespace plat::sdl
