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
#include "platform/replay.h"
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
void onIdle(bool (*stopHere)()) { script().stopWhenIdle = stopHere; }
void onStateRequest(std::string (*reporter)()) { script().reporter = reporter; }

void resetScript() {
    ScriptState& s = script();
    s.loaded = false;
    s.commands.clear();
    s.next = 0;
    s.waiting = false;
    s.releaseAfterWait = false;
    s.shotWhileBlocked.clear();
    s.stopWhenIdle = nullptr;
}

void programBlocks(uint32_t milliseconds) {
    ScriptState& s = script();
    if (s.shotWhileBlocked.empty() || milliseconds < 1000) return;
    if (!writeScreenPng(s.shotWhileBlocked)) std::fprintf(stderr, "cannot write %s\n", shownArgument(s.shotWhileBlocked.c_str()).c_str());
    s.shotWhileBlocked.clear();
}

namespace {

void inputExhausted(const ScriptState& s) { (s.exhausted ? s.exhausted : defaultExhausted)(); }

// No script: the clock jumps to the next timer; with none, or where the idle
// hook says, the run stops. A seek asked meanwhile goes on at once.
void runFreely(const ScriptState& s, uint64_t deadline) {
    if (s.stopWhenIdle && s.stopWhenIdle()) return inputExhausted(s);
    if (plat::replay::seeking()) return;
    if (deadline == backend::kNoDeadline) return inputExhausted(s);
    if (deadline > now()) advanceClock(deadline - now());
}

// A wait in progress: true when it lasts past the deadline (the clock is
// there); false when it ended (and its held key is let go).
bool waitOn(ScriptState& s, uint64_t deadline) {
    if (deadline <= s.until) {
        if (deadline > now()) advanceClock(deadline - now());
        return true;
    }
    if (s.until > now()) advanceClock(s.until - now());
    s.waiting = false;
    if (s.releaseAfterWait) {
        input::keyUp(s.releaseKey);
        s.releaseAfterWait = false;
    }
    return false;
}

void printState(const ScriptState& s, const Command& c) {
    const std::string line = "time=" + std::to_string(now()) + " " + (s.reporter ? s.reporter() : std::string());
    std::fprintf(s.out, "%s\n", selectState(line, c.argument).c_str());
    std::fflush(s.out);
}

// The script's own commands, which feed the program nothing.
void runQuietCommand(ScriptState& s, const Command& c) {
    switch (c.op) {
        case Op::Wait:
            s.waiting = true;
            s.until = now() + c.ms;
            return;
        case Op::Up: input::keyUp(c.key); return;
        case Op::Shot:
            if (!writeScreenPng(c.argument)) {
                std::fprintf(stderr, "line %d: cannot write %s\n", c.line, shownArgument(c.argument.c_str()).c_str());
            }
            return;
        case Op::ShotWhileBlocked: s.shotWhileBlocked = c.argument; return;
        case Op::State: printState(s, c); return;
        default: return;
    }
}

// One command; true when it fed the program input (the script goes on when
// the program next waits).
bool runCommand(ScriptState& s, const Command& c) {
    switch (c.op) {
        case Op::Hold:
            input::keyDown(c.key, c.key);
            s.waiting = true;
            s.until = now() + c.ms;
            s.releaseAfterWait = true;
            s.releaseKey = c.key;
            return true;
        case Op::Key: pressKey(c.key); return true;
        case Op::Down: input::keyDown(c.key, c.key); return true;
        case Op::Soft: input::softKey(c.flag); return true;
        case Op::Focus: input::focus(c.flag); return true;
        case Op::Paint: input::exposed(); return true;
        case Op::Close: input::close(); return true;
        default: runQuietCommand(s, c); return false;
    }
}

}  // namespace

void runScriptUntil(uint64_t deadline) {
    ScriptState& s = script();
    if (!s.loaded) return runFreely(s, deadline);
    for (;;) {
        if (s.waiting) {
            if (waitOn(s, deadline)) return;
            continue;
        }
        if (s.next >= s.commands.size()) return inputExhausted(s);
        if (runCommand(s, s.commands[s.next++])) return;
    }
}

}  // namespace plat::headless
