// Script input for the headless handset: parsing the command lines and
// feeding them to the program whenever it waits for input.
#include "platform/headless/script.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/headless.h"

namespace plat::headless {
namespace {

enum class Op { Wait, Key, Hold, Down, Up, Soft, Focus, Paint, Shot, ShotWhileBlocked, State, Close };

struct Command {
    Op op = Op::Wait;
    int line = 0;
    uint32_t key = 0;
    uint64_t ms = 0;
    bool flag = false;     // soft: left; focus: gained
    std::string argument;  // shot: file; state: names to show
};

struct Script {
    bool loaded = false;
    std::vector<Command> commands;
    size_t next = 0;
    // A wait in progress: runs until `until`, then releases `releaseKey` when set.
    bool waiting = false;
    uint64_t until = 0;
    bool releaseAfterWait = false;
    uint32_t releaseKey = 0;
    std::string shotWhileBlocked;  // taken at the program's next blocking wait
    void (*exhausted)() = nullptr;
    std::string (*reporter)() = nullptr;
    std::FILE* out = stdout;
};

Script& script() {
    static Script s;
    return s;
}

void defaultExhausted() {
    std::fprintf(script().out, "running\n");
    std::fflush(script().out);
    std::fflush(stdout);
    std::_Exit(0);
}

// Keeps the requested name=value pairs of a state line, in the order asked.
std::string selectState(const std::string& line, const std::string& names) {
    if (names.empty()) return line;
    std::istringstream wanted(names);
    std::string name;
    std::string result;
    while (wanted >> name) {
        std::istringstream pairs(line);
        std::string pair;
        bool found = false;
        while (pairs >> pair) {
            if (pair.compare(0, name.size() + 1, name + "=") == 0) {
                result += (result.empty() ? "" : " ") + pair;
                found = true;
                break;
            }
        }
        if (!found) result += (result.empty() ? "" : " ") + name + "=?";
    }
    return result;
}

bool parseMs(const std::string& word, uint64_t& ms) {
    if (word.empty() || word.size() > 9) return false;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
    }
    ms = std::strtoull(word.c_str(), nullptr, 10);
    return true;
}

}  // namespace

bool parseKeyName(const std::string& name, uint32_t& keyCode) {
    static const struct {
        const char* name;
        uint32_t code;
    } kNames[] = {{"left", kKeyLeft}, {"right", kKeyRight}, {"up", kKeyUp},
                  {"down", kKeyDown}, {"enter", kKeyReturn}, {"back", kKeyEscape}};
    for (const auto& n : kNames) {
        if (name == n.name) {
            keyCode = n.code;
            return true;
        }
    }
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
        keyCode = static_cast<uint32_t>(name[0]);
        return true;
    }
    uint64_t code = 0;
    if (name.size() > 1 && parseMs(name, code) && code > 0 && code < 256) {
        keyCode = static_cast<uint32_t>(code);
        return true;
    }
    return false;
}

bool loadScript(const std::string& text, std::string& error) {
    Script& s = script();
    std::vector<Command> commands;
    std::istringstream lines(text);
    std::string raw;
    int number = 0;
    while (std::getline(lines, raw)) {
        ++number;
        const size_t hash = raw.find('#');
        if (hash != std::string::npos) raw.erase(hash);
        std::istringstream words(raw);
        std::vector<std::string> w;
        for (std::string word; words >> word;) w.push_back(word);
        if (w.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why + ": " + raw;
            return false;
        };
        Command c;
        c.op = Op::Wait;
        c.line = number;
        const std::string& verb = w[0];
        if (verb == "wait") {
            if (w.size() != 2 || !parseMs(w[1], c.ms)) return fail("expected 'wait MS'");
        } else if (verb == "key" || verb == "down" || verb == "up") {
            c.op = verb == "key" ? Op::Key : verb == "down" ? Op::Down : Op::Up;
            if (w.size() != 2 || !parseKeyName(w[1], c.key)) return fail("expected '" + verb + " NAME' with NAME left right up down enter back, a digit or a key code");
        } else if (verb == "hold") {
            c.op = Op::Hold;
            if (w.size() != 3 || !parseKeyName(w[1], c.key) || !parseMs(w[2], c.ms)) return fail("expected 'hold NAME MS'");
        } else if (verb == "soft") {
            c.op = Op::Soft;
            if (w.size() != 2 || (w[1] != "left" && w[1] != "right")) return fail("expected 'soft left' or 'soft right'");
            c.flag = w[1] == "left";
        } else if (verb == "focus") {
            c.op = Op::Focus;
            if (w.size() != 2 || (w[1] != "lost" && w[1] != "gained")) return fail("expected 'focus lost' or 'focus gained'");
            c.flag = w[1] == "gained";
        } else if (verb == "paint") {
            c.op = Op::Paint;
            if (w.size() != 1) return fail("'paint' takes nothing");
        } else if (verb == "close") {
            c.op = Op::Close;
            if (w.size() != 1) return fail("'close' takes nothing");
        } else if (verb == "shot") {
            c.op = Op::Shot;
            if (w.size() != 2) return fail("expected 'shot FILE.png'");
            c.argument = w[1];
        } else if (verb == "shot-while-blocked") {
            c.op = Op::ShotWhileBlocked;
            if (w.size() != 2) return fail("expected 'shot-while-blocked FILE.png'");
            c.argument = w[1];
        } else if (verb == "state") {
            c.op = Op::State;
            for (size_t i = 1; i < w.size(); ++i) c.argument += (i > 1 ? " " : "") + w[i];
        } else {
            return fail("unknown command '" + verb + "'");
        }
        commands.push_back(c);
    }
    s.commands = std::move(commands);
    s.next = 0;
    s.waiting = false;
    s.loaded = true;
    return true;
}

void onInputExhausted(void (*handler)()) { script().exhausted = handler; }
void onStateRequest(std::string (*reporter)()) { script().reporter = reporter; }
void setOutput(std::FILE* out) { script().out = out ? out : stdout; }

void resetScript() {
    Script& s = script();
    s.loaded = false;
    s.commands.clear();
    s.next = 0;
    s.waiting = false;
    s.releaseAfterWait = false;
    s.shotWhileBlocked.clear();
}

void programBlocks(uint32_t milliseconds) {
    Script& s = script();
    if (s.shotWhileBlocked.empty() || milliseconds < 1000) return;
    if (!writeScreenPng(s.shotWhileBlocked)) std::fprintf(stderr, "cannot write %s\n", s.shotWhileBlocked.c_str());
    s.shotWhileBlocked.clear();
}

void runScriptUntil(uint64_t deadline) {
    Script& s = script();
    if (!s.loaded) {
        // Running freely: the clock jumps to the next timer.
        if (deadline != backend::kNoDeadline) {
            if (deadline > now()) advanceClock(deadline - now());
            return;
        }
        (s.exhausted ? s.exhausted : defaultExhausted)();
        return;
    }
    for (;;) {
        if (s.waiting) {
            if (deadline <= s.until) {
                if (deadline > now()) advanceClock(deadline - now());
                return;
            }
            if (s.until > now()) advanceClock(s.until - now());
            s.waiting = false;
            if (s.releaseAfterWait) {
                setKeyHeld(s.releaseKey, false);
                s.releaseAfterWait = false;
            }
            continue;
        }
        if (s.next >= s.commands.size()) {
            (s.exhausted ? s.exhausted : defaultExhausted)();
            return;
        }
        const Command& c = s.commands[s.next++];
        switch (c.op) {
            case Op::Wait:
                s.waiting = true;
                s.until = now() + c.ms;
                continue;
            case Op::Hold:
                setKeyHeld(c.key, true);
                feedKeyDown(c.key);
                s.waiting = true;
                s.until = now() + c.ms;
                s.releaseAfterWait = true;
                s.releaseKey = c.key;
                return;
            case Op::Key:
                feedKeyDown(c.key);
                return;
            case Op::Down:
                setKeyHeld(c.key, true);
                feedKeyDown(c.key);
                return;
            case Op::Up:
                setKeyHeld(c.key, false);
                continue;
            case Op::Soft:
                feedSoftKey(c.flag);
                return;
            case Op::Focus:
                feedFocus(c.flag);
                return;
            case Op::Paint:
                feedPaint();
                return;
            case Op::Close:
                feedClose();
                return;
            case Op::Shot:
                if (!writeScreenPng(c.argument)) {
                    std::fprintf(stderr, "line %d: cannot write %s\n", c.line, c.argument.c_str());
                }
                continue;
            case Op::ShotWhileBlocked:
                s.shotWhileBlocked = c.argument;
                continue;
            case Op::State:
                std::fprintf(s.out, "%s\n",
                             selectState("time=" + std::to_string(now()) + " " + (s.reporter ? s.reporter() : std::string()),
                                         c.argument)
                                 .c_str());
                std::fflush(s.out);
                continue;
        }
    }
}

}  // namespace plat::headless
