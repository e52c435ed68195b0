// Script commands as the SDL events of a keyboard and a window manager.
#include "hook/script_input.h"

#include <chrono>

#include "platform/sdl/keymap.h"
#include "platform/types.h"

namespace desktop_hook {
namespace {

using plat::script::Command;
using plat::script::Op;

// Desktop keys with a role of their own, by their usual virtual-key codes.
struct CodeKey {
    uint32_t code;
    SDL_Scancode scancode;
};
constexpr CodeKey kDesktopKeys[] = {
    {27, SDL_SCANCODE_ESCAPE}, {8, SDL_SCANCODE_BACKSPACE}, {0x70, SDL_SCANCODE_F1},  {0x71, SDL_SCANCODE_F2},
    {0x7A, SDL_SCANCODE_F11},  {0x7B, SDL_SCANCODE_F12},
};

uint16_t modifierOf(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_LALT: return KMOD_LALT;
        case SDL_SCANCODE_LCTRL: return KMOD_LCTRL;
        case SDL_SCANCODE_LSHIFT: return KMOD_LSHIFT;
        default: return 0;
    }
}

SDL_Event keyEvent(SDL_Scancode scancode, bool down, uint16_t modifiers) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = modifiers;
    return event;
}

SDL_Event windowEvent(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(id);
    return event;
}

}  // namespace

SDL_Scancode keyboardKeyFor(uint32_t keyCode) {
    for (int scancode = SDL_SCANCODE_A; scancode < SDL_NUM_SCANCODES; ++scancode) {
        const auto key = static_cast<SDL_Scancode>(scancode);
        const plat::sdl::KeyMeaning meaning = plat::sdl::meaningOf(key, SDL_GetKeyFromScancode(key), 0);
        if (meaning.role == plat::sdl::KeyRole::HandsetKey && meaning.code == keyCode) return key;
    }
    for (const CodeKey& k : kDesktopKeys) {
        if (k.code == keyCode) return k.scancode;
    }
    return SDL_SCANCODE_UNKNOWN;
}

bool eventsOf(const std::vector<Command>& commands, std::vector<TimedEvent>& events, std::string& error) {
    events.clear();
    uint64_t at = 0;
    uint16_t modifiers = 0;
    const auto add = [&](uint64_t when, const SDL_Event& event) { events.push_back({when, event}); };
    const auto keyChange = [&](uint64_t when, SDL_Scancode key, bool down) {
        const uint16_t modifier = modifierOf(key);
        modifiers = down ? (modifiers | modifier) : (modifiers & ~modifier);
        add(when, keyEvent(key, down, modifiers));
    };
    for (const Command& c : commands) {
        const auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(c.line) + ": " + why;
            return false;
        };
        SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
        if (c.op == Op::Key || c.op == Op::Hold || c.op == Op::Down || c.op == Op::Up) {
            key = keyboardKeyFor(c.key);
            if (key == SDL_SCANCODE_UNKNOWN) return fail("no keyboard key gives key code " + std::to_string(c.key));
        }
        switch (c.op) {
            case Op::Wait: at += c.ms; break;
            case Op::Key:
                keyChange(at, key, true);
                keyChange(at, key, false);
                break;
            case Op::Hold:
                keyChange(at, key, true);
                at += c.ms;
                keyChange(at, key, false);
                break;
            case Op::Down:
            case Op::Up: keyChange(at, key, c.op == Op::Down); break;
            case Op::Soft:
                keyChange(at, c.flag ? SDL_SCANCODE_F1 : SDL_SCANCODE_F2, true);
                keyChange(at, c.flag ? SDL_SCANCODE_F1 : SDL_SCANCODE_F2, false);
                break;
            case Op::Focus:
                add(at, windowEvent(c.flag ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST));
                break;
            case Op::Paint: add(at, windowEvent(SDL_WINDOWEVENT_EXPOSED)); break;
            case Op::Close: {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                add(at, quit);
                break;
            }
            case Op::Shot:
            case Op::ShotWhileBlocked:
            case Op::State: return fail("screenshots and state lines are the headless handset's");
        }
    }
    return true;
}

void ScriptPlayer::start() { thread_ = std::thread(&ScriptPlayer::run, this, SDL_GetTicks64()); }

void ScriptPlayer::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void ScriptPlayer::run(uint64_t start) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (TimedEvent& timed : events_) {
        for (;;) {
            const uint64_t now = SDL_GetTicks64();
            if (stopping_) return;
            if (now >= start + timed.at) break;
            wake_.wait_for(lock, std::chrono::milliseconds(start + timed.at - now));
        }
        if (timed.event.type == SDL_KEYDOWN || timed.event.type == SDL_KEYUP) {
            timed.event.key.keysym.sym = SDL_GetKeyFromScancode(timed.event.key.keysym.scancode);
        }
        timed.event.common.timestamp = SDL_GetTicks();
        SDL_PushEvent(&timed.event);
    }
}

}  // namespace desktop_hook
