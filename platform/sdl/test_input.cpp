// The test hook: FINGULP_TEST_INPUT names a script of timed input that the back
// end injects at its own input layer, exactly where SDL's events enter, so the
// real executable can be driven where no keyboard exists. Commands, one a line
// ('#' starts a comment); times count from the back end's start:
//   wait MS              let MS milliseconds pass
//   down KEY / up KEY    a key (SDL's key name: Return, Escape, Left, F1, Keypad 4, ...)
//   press KEY            down, 80 ms, up
//   click X Y            a left click at screen pixel X, Y
//   focus gained|lost    the window manager's focus change
//   expose               the window was uncovered
//   close                the window manager's close button
#include <cstdlib>
#include <deque>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

enum class Action { KeyDown, KeyUp, Click, FocusGained, FocusLost, Expose, Close };

struct Step {
    uint64_t at = 0;  // ms after the start
    Action action = Action::Close;
    SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;
    int32_t x = 0;
    int32_t y = 0;
};

struct Script {
    uint64_t start = 0;
    std::deque<Step> steps;
    uint16_t modifiers = 0;  // Shift, Ctrl and Alt held by the script
};

Script& script() {
    static Script s;
    return s;
}

constexpr uint64_t kPressMs = 80;

bool parseNumber(const std::string& word, int64_t& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(word.c_str(), &end, 10);
    return *end == 0 && value >= 0;
}

uint16_t modifierOf(SDL_Scancode scancode) {
    switch (scancode) {
        case SDL_SCANCODE_LALT: return KMOD_LALT;
        case SDL_SCANCODE_RALT: return KMOD_RALT;
        case SDL_SCANCODE_LCTRL: return KMOD_LCTRL;
        case SDL_SCANCODE_RCTRL: return KMOD_RCTRL;
        case SDL_SCANCODE_LSHIFT: return KMOD_LSHIFT;
        case SDL_SCANCODE_RSHIFT: return KMOD_RSHIFT;
        default: return 0;
    }
}

bool parse(const std::string& text, std::deque<Step>& steps, std::string& error) {
    std::istringstream lines(text);
    std::string line;
    uint64_t at = 0;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string verb;
        if (!(words >> verb)) continue;
        std::string rest;
        std::getline(words, rest);
        const size_t first = rest.find_first_not_of(" \t");
        rest = first == std::string::npos ? "" : rest.substr(first, rest.find_last_not_of(" \t\r") - first + 1);
        const auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        Step step;
        step.at = at;
        if (verb == "wait") {
            int64_t ms = 0;
            if (!parseNumber(rest, ms)) return fail("expected 'wait MS'");
            at += static_cast<uint64_t>(ms);
            continue;
        }
        if (verb == "down" || verb == "up" || verb == "press") {
            step.scancode = SDL_GetScancodeFromName(rest.c_str());
            if (step.scancode == SDL_SCANCODE_UNKNOWN) return fail("unknown key '" + rest + "'");
            step.action = verb == "up" ? Action::KeyUp : Action::KeyDown;
            steps.push_back(step);
            if (verb == "press") {
                at += kPressMs;
                step.at = at;
                step.action = Action::KeyUp;
                steps.push_back(step);
            }
            continue;
        }
        if (verb == "click") {
            std::istringstream xy(rest);
            std::string x, y, extra;
            int64_t vx = 0, vy = 0;
            if (!(xy >> x >> y) || (xy >> extra) || !parseNumber(x, vx) || !parseNumber(y, vy)) {
                return fail("expected 'click X Y'");
            }
            step.action = Action::Click;
            step.x = static_cast<int32_t>(vx);
            step.y = static_cast<int32_t>(vy);
        } else if (verb == "focus" && (rest == "gained" || rest == "lost")) {
            step.action = rest == "gained" ? Action::FocusGained : Action::FocusLost;
        } else if (verb == "expose" && rest.empty()) {
            step.action = Action::Expose;
        } else if (verb == "close" && rest.empty()) {
            step.action = Action::Close;
        } else {
            return fail("unknown command '" + line + "'");
        }
        steps.push_back(step);
    }
    return true;
}

// The event SDL would have delivered for a window event.
bool windowEvent(SDL_WindowEventID id) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = static_cast<Uint8>(id);
    return handleEvent(event);
}

bool run(const Step& step) {
    Script& s = script();
    switch (step.action) {
        case Action::KeyDown:
        case Action::KeyUp: {
            const bool down = step.action == Action::KeyDown;
            const uint16_t modifier = modifierOf(step.scancode);
            s.modifiers = down ? (s.modifiers | modifier) : (s.modifiers & ~modifier);
            return handleKey(step.scancode, SDL_GetKeyFromScancode(step.scancode), s.modifiers, down, false);
        }
        case Action::Click: return handleClick(step.x, step.y);
        case Action::FocusGained: return windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        case Action::FocusLost: return windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
        case Action::Expose: return windowEvent(SDL_WINDOWEVENT_EXPOSED);
        case Action::Close: {
            SDL_Event event{};
            event.type = SDL_QUIT;
            return handleEvent(event);
        }
    }
    return false;
}

}  // namespace

bool loadTestInput(std::string& error) {
    const char* path = std::getenv("FINGULP_TEST_INPUT");
    if (!path || !*path) return true;
    std::ifstream in(path);
    if (!in) {
        error = std::string("cannot read ") + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    Script& s = script();
    s.steps.clear();
    if (!parse(text.str(), s.steps, error)) return false;
    s.start = SDL_GetTicks64();
    return true;
}

bool runDueTestInput(uint64_t now) {
    Script& s = script();
    bool fed = false;
    while (!s.steps.empty() && s.start + s.steps.front().at <= now) {
        const Step step = s.steps.front();
        s.steps.pop_front();
        fed = run(step) || fed;
    }
    return fed;
}

uint64_t nextTestInputAt() {
    const Script& s = script();
    return s.steps.empty() ? UINT64_MAX : s.start + s.steps.front().at;
}

}  // namespace plat::sdl
