// The desktop's keys as the handset's: which key code each keyboard key
// sends, and the source numbers of the keyboard's and the gamepads' keys
// (platform/input.h).
#pragma once

#include <SDL.h>

#include <cstdint>

namespace plat::sdl {

// What a keyboard key does on the desktop handset.
enum class KeyRole {
    HandsetKey,      // reaches the program as `code`
    LeftSoftKey,     // F1, Escape, Backspace
    RightSoftKey,    // F2
    Fullscreen,      // F11, and Alt+Enter
    Screenshot,      // F12
    None,            // nothing
};

struct KeyMeaning {
    KeyRole role = KeyRole::None;
    uint32_t code = 0;  // the handset's key code for HandsetKey
};

// Digits, arrows and Enter go by the key's place on the keyboard (so every
// layout's top row gives the digits); letters by the layout's letter.
KeyMeaning meaningOf(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers);

// Source numbers: keyboard keys by scancode; gamepad inputs by the
// controller's instance id.
constexpr uint64_t kKeyboardSources = 0;
constexpr uint64_t kKeyboardSourcesEnd = 0xFFFF;
constexpr uint64_t gamepadSource(int32_t instance, uint32_t input) {
    return 0x10000 + (static_cast<uint64_t>(static_cast<uint32_t>(instance)) << 8) + (input & 0xFF);
}

}  // namespace plat::sdl
