// The keys a player chooses, read from and written as keys.ini's text.
#include "platform/sdl/key_bindings.h"

#include <algorithm>
#include <sstream>

#include "platform/text_encoding.h"
#include "platform/types.h"

namespace plat::sdl {
namespace {

constexpr const char* kKeyNames[kHandsetKeys] = {"up", "down", "left", "right", "action", "left-soft", "right-soft"};
constexpr char kGamepadPrefix[] = "gamepad-";
constexpr char kSticky[] = "sticky-arrows";

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The comma-separated names of a value, trimmed; an empty value is no names.
std::vector<std::string> namesOf(const std::string& value) {
    std::vector<std::string> names;
    if (trimmed(value).empty()) return names;
    std::istringstream items(value);
    for (std::string item; std::getline(items, item, ',');) names.push_back(trimmed(item));
    if (!value.empty() && value.back() == ',') names.emplace_back();
    return names;
}

int handsetKeyNamed(const std::string& name) {
    for (int i = 0; i < kHandsetKeys; ++i) {
        if (name == kKeyNames[i]) return i;
    }
    return -1;
}

template <typename T>
bool contains(const std::vector<T>& list, T item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

KeyBindings defaultBindings() {
    KeyBindings b;
    const auto up = static_cast<int>(HandsetKey::Up), down = static_cast<int>(HandsetKey::Down);
    const auto left = static_cast<int>(HandsetKey::Left), right = static_cast<int>(HandsetKey::Right);
    const auto action = static_cast<int>(HandsetKey::Action);
    const auto leftSoft = static_cast<int>(HandsetKey::LeftSoft), rightSoft = static_cast<int>(HandsetKey::RightSoft);
    b.keys[up] = {SDL_SCANCODE_UP};
    b.keys[down] = {SDL_SCANCODE_DOWN};
    b.keys[left] = {SDL_SCANCODE_LEFT};
    b.keys[right] = {SDL_SCANCODE_RIGHT};
    b.keys[action] = {SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER};
    b.keys[leftSoft] = {SDL_SCANCODE_F1, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_AC_BACK};
    b.keys[rightSoft] = {SDL_SCANCODE_F2};
    b.buttons[up] = {SDL_CONTROLLER_BUTTON_DPAD_UP};
    b.buttons[down] = {SDL_CONTROLLER_BUTTON_DPAD_DOWN};
    b.buttons[left] = {SDL_CONTROLLER_BUTTON_DPAD_LEFT};
    b.buttons[right] = {SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
    b.buttons[action] = {SDL_CONTROLLER_BUTTON_A};
    b.buttons[leftSoft] = {SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_BACK};
    b.buttons[rightSoft] = {SDL_CONTROLLER_BUTTON_START};
    return b;
}

bool applySetting(const std::string& setting, KeyBindings& bindings, std::string& error) {
    const size_t equals = setting.find('=');
    if (equals == std::string::npos) {
        error = "'" + shownArgument(setting.c_str()) + "' is not NAME = KEYS";
        return false;
    }
    std::string name = trimmed(setting.substr(0, equals));
    const std::string value = setting.substr(equals + 1);
    if (name == kSticky) {
        const std::string on = trimmed(value);
        if (on != "on" && on != "off") {
            error = std::string(kSticky) + " is on or off, not '" + shownArgument(on.c_str()) + "'";
            return false;
        }
        bindings.stickyArrows = on == "on";
        return true;
    }
    const bool gamepad = name.rfind(kGamepadPrefix, 0) == 0;
    const int key = handsetKeyNamed(gamepad ? name.substr(sizeof(kGamepadPrefix) - 1) : name);
    if (key < 0) {
        error = "unknown setting '" + shownArgument(name.c_str()) + "'";
        return false;
    }
    std::vector<SDL_Scancode> keys;
    std::vector<SDL_GameControllerButton> buttons;
    for (const std::string& item : namesOf(value)) {
        const SDL_Scancode scancode = gamepad ? SDL_SCANCODE_UNKNOWN : SDL_GetScancodeFromName(item.c_str());
        const SDL_GameControllerButton button =
            gamepad ? SDL_GameControllerGetButtonFromString(item.c_str()) : SDL_CONTROLLER_BUTTON_INVALID;
        if (item.empty() || (gamepad ? button == SDL_CONTROLLER_BUTTON_INVALID : scancode == SDL_SCANCODE_UNKNOWN)) {
            error = name + ": unknown " + (gamepad ? "button" : "key") + " '" + shownArgument(item.c_str()) + "'";
            return false;
        }
        if (gamepad) {
            buttons.push_back(button);
        } else {
            keys.push_back(scancode);
        }
    }
    if (gamepad) {
        bindings.buttons[key] = buttons;
    } else {
        bindings.keys[key] = keys;
    }
    return true;
}

bool checkBindings(const KeyBindings& bindings, std::string& error) {
    std::vector<std::pair<SDL_Scancode, int>> keys;
    std::vector<std::pair<SDL_GameControllerButton, int>> buttons;
    for (int key = 0; key < kHandsetKeys; ++key) {
        if (bindings.keys[key].empty()) {
            error = std::string(kKeyNames[key]) + " needs a keyboard key";
            return false;
        }
        for (const SDL_Scancode scancode : bindings.keys[key]) {
            const KeyRole role = meaningOf(scancode, SDL_GetKeyFromScancode(scancode), 0).role;
            if (role == KeyRole::Fullscreen || role == KeyRole::Screenshot) {
                error = std::string(SDL_GetScancodeName(scancode)) + " is the desktop's own (" +
                        (role == KeyRole::Fullscreen ? "fullscreen" : "screenshot") + ") and cannot be bound";
                return false;
            }
            for (const auto& [other, otherKey] : keys) {
                if (other != scancode) continue;
                error = std::string(SDL_GetScancodeName(scancode)) + " is bound twice, to " + kKeyNames[otherKey] +
                        " and " + kKeyNames[key];
                return false;
            }
            keys.emplace_back(scancode, key);
        }
        for (const SDL_GameControllerButton button : bindings.buttons[key]) {
            for (const auto& [other, otherKey] : buttons) {
                if (other != button) continue;
                error = std::string("gamepad button ") + SDL_GameControllerGetStringForButton(button) +
                        " is bound twice, to " + kKeyNames[otherKey] + " and " + kKeyNames[key];
                return false;
            }
            buttons.emplace_back(button, key);
        }
    }
    return true;
}

bool parseKeysText(const std::string& text, KeyBindings& bindings, std::string& error) {
    KeyBindings read = defaultBindings();
    std::vector<std::string> seen;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string content = trimmed(line);
        if (content.empty() || content[0] == '#') continue;
        const std::string name = trimmed(content.substr(0, content.find('=')));
        std::string why = name + " is set twice";
        if (contains(seen, name) || !applySetting(content, read, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        seen.push_back(name);
    }
    if (!checkBindings(read, error)) return false;
    bindings = read;
    return true;
}

std::string keysText(const KeyBindings& bindings) {
    std::string text =
        "# FINGULP's keys on the desktop: NAME = KEYS, by SDL's key and button names\n"
        "# (fingulp --keys lists them, fingulp --bind sets them; man fingulp).\n";
    for (int key = 0; key < kHandsetKeys; ++key) {
        std::vector<std::string> names;
        for (const SDL_Scancode scancode : bindings.keys[key]) names.emplace_back(SDL_GetScancodeName(scancode));
        text += std::string(kKeyNames[key]) + " = " + joined(names) + "\n";
    }
    for (int key = 0; key < kHandsetKeys; ++key) {
        std::vector<std::string> names;
        for (const auto button : bindings.buttons[key]) names.emplace_back(SDL_GameControllerGetStringForButton(button));
        text += kGamepadPrefix + std::string(kKeyNames[key]) + " = " + joined(names) + "\n";
    }
    return text + kSticky + " = " + (bindings.stickyArrows ? "on" : "off") + "\n";
}

KeyMeaning meaningOf(HandsetKey key) {
    switch (key) {
        case HandsetKey::Up: return {KeyRole::HandsetKey, kKeyUp};
        case HandsetKey::Down: return {KeyRole::HandsetKey, kKeyDown};
        case HandsetKey::Left: return {KeyRole::HandsetKey, kKeyLeft};
        case HandsetKey::Right: return {KeyRole::HandsetKey, kKeyRight};
        case HandsetKey::Action: return {KeyRole::HandsetKey, kKeyReturn};
        case HandsetKey::LeftSoft: return {KeyRole::LeftSoftKey, 0};
        case HandsetKey::RightSoft: return {KeyRole::RightSoftKey, 0};
        case HandsetKey::None: break;
    }
    return {};
}

KeyMeaning meaningOf(const KeyBindings& bindings, SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers) {
    const KeyMeaning today = meaningOf(scancode, keycode, modifiers);
    if (today.role == KeyRole::Fullscreen || today.role == KeyRole::Screenshot) return today;
    for (int key = 0; key < kHandsetKeys; ++key) {
        if (contains(bindings.keys[key], scancode)) return meaningOf(static_cast<HandsetKey>(key));
    }
    static const KeyBindings defaults = defaultBindings();
    for (const auto& keys : defaults.keys) {
        if (contains(keys, scancode)) return {};
    }
    return today;
}

HandsetKey buttonKey(const KeyBindings& bindings, SDL_GameControllerButton button) {
    for (int key = 0; key < kHandsetKeys; ++key) {
        if (contains(bindings.buttons[key], button)) return static_cast<HandsetKey>(key);
    }
    return HandsetKey::None;
}

}  // namespace plat::sdl
