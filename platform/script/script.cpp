// The input script language: each line parsed into one command, or the first
// bad line named.
#include "platform/script/script.h"

#include <cstdlib>
#include <sstream>

#include "platform/types.h"

namespace plat::script {
namespace {

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

bool parse(const std::string& text, std::vector<Command>& commands, std::string& error) {
    commands.clear();
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
    return true;
}

}  // namespace plat::script
