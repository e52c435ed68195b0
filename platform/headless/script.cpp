// Script input for the headless handset: the parsed commands fed to the
// program whenever it waits for input.
#include "platform/headless/script.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/handset.h"
#include "platform/headless/headless.h"
#include "platform/input.h"
#include "platform/text_encoding.h"

namespace plat::headless {
namespace {

using script::Command;
using script::Op;

ScriptState& script() { return handset().script; }

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

}  // namespace

bool loadScript(const std::string& text, std::string& error) {
    ScriptState& s = script();
    std::vector<Command> commands;
    if (!script::parse(text, commands, error)) return false;
    s.commands = std::move(commands);
    s.next = 0;
    s.waiting = false;
    s.loaded = true;
    // A script that opens with shot-while-blocked catches the splash: the
    // program blocks before it first waits for input.
    while (s.next < s.commands.size() && s.commands[s.next].op == Op::ShotWhileBlocked) {
        s.shotWhileBlocked = s.commands[s.next++].argument;
    }
    return true;
}

void onInputExhausted(void (*handler)()) { script().exhausted = handler; }
void onStateRequest(std::string (*reporter)()) { script().reporter = reporter; }

void resetScript() {
    ScriptState& s = script();
    s.loaded = false;
    s.commands.clear();
    s.next = 0;
    s.waiting = false;
    s.releaseAfterWait = false;
    s.shotWhileBlocked.clear();
}

void programBlocks(uint32_t milliseconds) {
    ScriptState& s = script();
    if (s.shotWhileBlocked.empty() || milliseconds < 1000) return;
    if (!writeScreenPng(s.shotWhileBlocked)) std::fprintf(stderr, "cannot write %s\n", shownArgument(s.shotWhileBlocked.c_str()).c_str());
    s.shotWhileBlocked.clear();
}

void runScriptUntil(uint64_t deadline) {
    ScriptState& s = script();
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
                input::keyUp(s.releaseKey);
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
                input::keyDown(c.key, c.key);
                s.waiting = true;
                s.until = now() + c.ms;
                s.releaseAfterWait = true;
                s.releaseKey = c.key;
                return;
            case Op::Key:
                pressKey(c.key);
                return;
            case Op::Down:
                input::keyDown(c.key, c.key);
                return;
            case Op::Up:
                input::keyUp(c.key);
                continue;
            case Op::Soft:
                input::softKey(c.flag);
                return;
            case Op::Focus:
                input::focus(c.flag);
                return;
            case Op::Paint:
                input::exposed();
                return;
            case Op::Close:
                input::close();
                return;
            case Op::Shot:
                if (!writeScreenPng(c.argument)) {
                    std::fprintf(stderr, "line %d: cannot write %s\n", c.line, shownArgument(c.argument.c_str()).c_str());
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
