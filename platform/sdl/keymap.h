// The desktop's keys as the handset's: which key code each keyboard key
// sends, and the table of keys held down by the keyboard and the gamepads.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>

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

// Keys held down, each by a source (a keyboard key, a gamepad button or stick
// direction). A handset key reads as held while any of its sources holds it.
struct HeldKeys {
    std::map<uint64_t, uint32_t> bySource;

    // True when the source was not holding its key yet (a fresh press).
    bool press(uint64_t source, uint32_t keyCode);
    void release(uint64_t source);
    // Releases every source in [first, last].
    void releaseRange(uint64_t first, uint64_t last);
    bool isHeld(uint32_t keyCode) const;
};

// Source numbers: keyboard keys by scancode; gamepad inputs by the
// controller's instance id.
constexpr uint64_t kKeyboardSources = 0;
constexpr uint64_t kKeyboardSourcesEnd = 0xFFFF;
constexpr uint64_t gamepadSource(int32_t instance, uint32_t input) {
    return 0x10000 + (static_cast<uint64_t>(static_cast<uint32_t>(instance)) << 8) + (input & 0xFF);
}

}  // namespace plat::sdl
