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

namespace {

// One line's words as a command; false with what was expected.
bool parseLine(const std::vector<std::string>& w, Command& c, std::string& why) {
    const std::string& verb = w[0];
    const auto expect = [&](bool ok, const std::string& what) {
        if (!ok) why = what;
        return ok;
    };
    if (verb == "wait") return expect(w.size() == 2 && parseMs(w[1], c.ms), "expected 'wait MS'");
    if (verb == "key" || verb == "down" || verb == "up") {
        c.op = verb == "key" ? Op::Key : verb == "down" ? Op::Down : Op::Up;
        return expect(w.size() == 2 && parseKeyName(w[1], c.key),
                      "expected '" + verb + " NAME' with NAME left right up down enter back, a digit or a key code");
    }
    if (verb == "hold") {
        c.op = Op::Hold;
        return expect(w.size() == 3 && parseKeyName(w[1], c.key) && parseMs(w[2], c.ms), "expected 'hold NAME MS'");
    }
    if (verb == "soft" || verb == "focus") {
        const bool soft = verb == "soft";
        c.op = soft ? Op::Soft : Op::Focus;
        const char* first = soft ? "left" : "lost";
        const char* second = soft ? "right" : "gained";
        c.flag = w.size() == 2 && w[1] == (soft ? first : second);
        return expect(w.size() == 2 && (w[1] == first || w[1] == second),
                      "expected '" + verb + " " + first + "' or '" + verb + " " + second + "'");
    }
    if (verb == "paint" || verb == "close") {
        c.op = verb == "paint" ? Op::Paint : Op::Close;
        return expect(w.size() == 1, "'" + verb + "' takes nothing");
    }
    if (verb == "shot" || verb == "shot-while-blocked") {
        c.op = verb == "shot" ? Op::Shot : Op::ShotWhileBlocked;
        if (w.size() == 2) c.argument = w[1];
        return expect(w.size() == 2, "expected '" + verb + " FILE.png'");
    }
    if (verb == "state") {
        c.op = Op::State;
        for (size_t i = 1; i < w.size(); ++i) c.argument += (i > 1 ? " " : "") + w[i];
        return true;
    }
    return expect(false, "unknown command '" + verb + "'");
}

}  // namespace

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
        Command c;
        c.op = Op::Wait;
        c.line = number;
        std::string why;
        if (!parseLine(w, c, why)) {
            error = "line " + std::to_string(number) + ": " + why + ": " + raw;
            return false;
        }
        commands.push_back(c);
    }
    return true;
}

}  // namespace plat::script
