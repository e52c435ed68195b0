// Game controllers as the handset's keypad: the buttons as keys.ini binds
// them (by default d-pad as the arrows, A as the action key, B and
// Back/Select as the left soft key (BACK or MENU), Start as the right one),
// the left stick as the arrows; hot-plugging; rumble as the handset's vibrator.
#include "platform/backend.h"
#include "platform/input.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

std::map<SDL_JoystickID, SDL_GameController*>& controllers() { return backendData().gamepads.open; }

std::set<uint64_t>& pushedSticks() { return backendData().gamepads.pushedSticks; }

// The stick counts as pushed beyond the first value and as let go below the
// second, so that it does not flicker at the edge.
constexpr int16_t kStickPushed = 16000;
constexpr int16_t kStickCentred = 10000;
// The handset buzzes until the program stops it (after about 250 ms); a
// controller's rumble is capped so that a stop that never comes (the timer
// stopped by a focus loss) does not leave it buzzing.
constexpr uint32_t kRumbleCapMs = 1000;

// Stick inputs get source numbers above the buttons'.
constexpr uint32_t kStickLeft = 0x80, kStickRight = 0x81, kStickUp = 0x82, kStickDown = 0x83;

void open(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (controllers().count(id)) {
        SDL_GameControllerClose(controller);
        return;
    }
    controllers()[id] = controller;
    if (backendData().gamepads.rumbling) SDL_GameControllerRumble(controller, 0xC000, 0xC000, kRumbleCapMs);
}

void close(SDL_JoystickID id) {
    auto it = controllers().find(id);
    if (it == controllers().end()) return;
    SDL_GameControllerClose(it->second);
    controllers().erase(it);
    const uint64_t first = gamepadSource(id, 0), last = gamepadSource(id, 0xFF);
    input::releaseSources(first, last);
    pushedSticks().erase(pushedSticks().lower_bound(first), pushedSticks().upper_bound(last));
}

bool button(SDL_JoystickID id, uint8_t which, bool down) {
    const KeyMeaning meaning =
        meaningOf(buttonKey(backendData().keys, static_cast<SDL_GameControllerButton>(which)));
    if (meaning.role == KeyRole::LeftSoftKey || meaning.role == KeyRole::RightSoftKey) {
        return down && input::softKey(meaning.role == KeyRole::LeftSoftKey);
    }
    if (meaning.role != KeyRole::HandsetKey) return false;
    const uint64_t source = gamepadSource(id, which);
    if (!down) {
        input::keyUp(source);
        return false;
    }
    return input::keyDown(source, meaning.code);
}

// One stick direction pushed or let go; a fresh push is a key press.
bool stickDirection(SDL_JoystickID id, uint32_t input, uint32_t code, int value) {
    const uint64_t source = gamepadSource(id, input);
    const bool wasPushed = pushedSticks().count(source) != 0;
    if (!wasPushed && value >= kStickPushed) {
        pushedSticks().insert(source);
        return input::keyDown(source, code);
    }
    if (wasPushed && value < kStickCentred) {
        pushedSticks().erase(source);
        input::keyUp(source);
    }
    return false;
}

bool axis(SDL_JoystickID id, uint8_t which, int16_t value) {
    const int v = value;
    if (which == SDL_CONTROLLER_AXIS_LEFTX) {
        const bool left = stickDirection(id, kStickLeft, kKeyLeft, -v);
        const bool right = stickDirection(id, kStickRight, kKeyRight, v);
        return left || right;
    }
    if (which == SDL_CONTROLLER_AXIS_LEFTY) {
        const bool up = stickDirection(id, kStickUp, kKeyUp, -v);
        const bool down = stickDirection(id, kStickDown, kKeyDown, v);
        return up || down;
    }
    return false;
}

}  // namespace

void startGamepads() {
    // Joysticks are read by the pump itself, so that a connected controller
    // does not turn SDL's blocking wait into a poll every millisecond.
    SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) open(i);
}

void stopGamepads() {
    while (!controllers().empty()) close(controllers().begin()->first);
    if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool handleGamepadEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open(event.cdevice.which);
            return false;
        case SDL_CONTROLLERDEVICEREMOVED:
            close(event.cdevice.which);
            return false;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (!controllers().count(event.cbutton.which)) return false;
            return button(event.cbutton.which, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
        case SDL_CONTROLLERAXISMOTION:
            if (!controllers().count(event.caxis.which)) return false;
            return axis(event.caxis.which, event.caxis.axis, event.caxis.value);
        default:
            return false;
    }
}

bool gamepadConnected() { return !controllers().empty(); }

void rumbleGamepads(bool on) {
    backendData().gamepads.rumbling = on;
    for (const auto& [id, controller] : controllers()) {
        if (on) {
            SDL_GameControllerRumble(controller, 0xC000, 0xC000, kRumbleCapMs);
        } else {
            SDL_GameControllerRumble(controller, 0, 0, 0);
        }
    }
}

}  // namespace plat::sdl
