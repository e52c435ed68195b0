// The desktop test executable's input: a script in the runner's language
// turned into the SDL events a player's keyboard and window manager would
// send, pushed onto SDL's queue at their times by a thread of their own.
#pragma once

#include <SDL.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/script/script.h"

namespace desktop_hook {

struct TimedEvent {
    uint64_t at = 0;  // ms after the script starts
    SDL_Event event{};
};

// The keyboard key a player presses for a handset key code: the key the
// desktop maps to it, else the desktop key whose usual code it is (27
// Escape, 8 Backspace, 112 to 123 F1 to F12). SDL_SCANCODE_UNKNOWN: none.
SDL_Scancode keyboardKeyFor(uint32_t keyCode);

// The script's commands as timed events: a key is pressed and let go at
// once, a soft key is F1 or F2, paint is an exposure, close the close button.
// The headless handset's observations (shot, state) have no desktop meaning:
// false with `error` naming the line.
bool eventsOf(const std::vector<plat::script::Command>& commands, std::vector<TimedEvent>& events,
              std::string& error);

// Pushes the events at their times, counted from start(), until they are
// done or stop() is called.
class ScriptPlayer {
public:
    explicit ScriptPlayer(std::vector<TimedEvent> events) : events_(std::move(events)) {}
    ~ScriptPlayer() { stop(); }
    void start();
    void stop();

private:
    void run(uint64_t start);
    std::vector<TimedEvent> events_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
};

}  // namespace desktop_hook
