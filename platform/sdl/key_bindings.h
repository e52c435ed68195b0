// The keys a player chooses on the desktop: for each handset key (the four
// arrows, the action key, the two soft keys) the keyboard keys and gamepad
// buttons that press it, and sticky arrows; as keys.ini's text, by SDL's own
// key and button names.
#pragma once

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/sdl/keymap.h"

namespace plat::sdl {

enum class HandsetKey { Up, Down, Left, Right, Action, LeftSoft, RightSoft, None };
constexpr int kHandsetKeys = 7;

struct KeyBindings {
    std::vector<SDL_Scancode> keys[kHandsetKeys];
    std::vector<SDL_GameControllerButton> buttons[kHandsetKeys];
    bool stickyArrows = false;
};

// Today's keys: the arrows, Enter, F1/Escape/Backspace, F2; d-pad, A, B and
// Back, Start.
KeyBindings defaultBindings();

// One "name = value" setting (a line of keys.ini, or --bind's argument) over
// `bindings`; false with the reason.
bool applySetting(const std::string& setting, KeyBindings& bindings, std::string& error);
// keys.ini's text over today's keys: every line a setting, each name at most
// once, then checked (checkBindings); false with the line and reason.
bool parseKeysText(const std::string& text, KeyBindings& bindings, std::string& error);
// A desktop key (F11, F12) taken, a key or button bound twice, a handset key
// left without a keyboard key: false with the reason.
bool checkBindings(const KeyBindings& bindings, std::string& error);
// The bindings as keys.ini's text, every setting written.
std::string keysText(const KeyBindings& bindings);

// What a keyboard key does with these bindings: the desktop's own keys
// first, then a bound key, then nothing for a default key bound elsewhere or
// dropped, then today's meaning (digits, letters).
KeyMeaning meaningOf(const KeyBindings& bindings, SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers);
// The handset key a gamepad button presses.
HandsetKey buttonKey(const KeyBindings& bindings, SDL_GameControllerButton button);
// What a handset key reaches the program as.
KeyMeaning meaningOf(HandsetKey key);

}  // namespace plat::sdl
