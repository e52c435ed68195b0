// The input script language of the headless runner (fingulp-sim) and of the
// desktop test executable: one command a line, '#' starts a comment. Parsing
// only; each back end plays the commands its own way.
//   wait MS            let MS milliseconds pass
//   key NAME           a key press
//   hold NAME MS       a key held for MS, then let go
//   down NAME / up NAME
//   soft left|right    a soft key
//   focus lost|gained
//   paint              the window needs a paint (it was uncovered)
//   close              the desktop's close button
//   shot FILE.png, shot-while-blocked FILE.png, state [NAME...]
// NAME is left right up down enter back, a digit, or a decimal key code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace plat::script {

enum class Op { Wait, Key, Hold, Down, Up, Soft, Focus, Paint, Shot, ShotWhileBlocked, State, Close };

struct Command {
    Op op = Op::Wait;
    int line = 0;
    uint32_t key = 0;
    uint64_t ms = 0;
    bool flag = false;     // soft: left; focus: gained
    std::string argument;  // shot: file; state: names to show
};

// The commands of `text`; false with `error` naming the bad line.
bool parse(const std::string& text, std::vector<Command>& commands, std::string& error);

// A key name of the script as a key code; false when it is none.
bool parseKeyName(const std::string& name, uint32_t& keyCode);

}  // namespace plat::script
