// The headless handset: a back end on a virtual clock whose input comes from
// a script (or from tests), whose screen is a readable bitmap and which records
// every sound, vibration, timer and message-box call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/types.h"

namespace plat::headless {

struct LogEntry {
    uint64_t time;     // virtual ms
    std::string text;  // e.g. "sound start FLARE", "vibrate stop", "timer 100 start 50"
};

// Back to a fresh handset: clock 0, keys up, log empty, no script, no other
// instance, executable "./fingulp".
void reset();

uint64_t now();
void advanceClock(uint64_t milliseconds);
// A key pressed and let go at once, as the script's `key` line does; a
// script's keys are their own sources (platform/input.h).
void pressKey(uint32_t keyCode);

// Recorded platform calls, oldest first; `logTo` also prints each as it comes.
const std::vector<LogEntry>& log();
void clearLog();
void logTo(std::FILE* out);
// Whether log() keeps the calls (as after reset()); without, memory stays flat
// however long the run, and only `logTo` sees them.
void keepLog(bool keep);
size_t screenChanges();  // how often the program drew on the screen

void setExecutablePath(const std::u16string& path);

// Another instance of the program, as a second start would meet it: its
// marker held until virtual time `markerUntil` (0: no other instance;
// UINT64_MAX: for ever), its window present from `windowAt` (UINT64_MAX:
// never). bringToFront calls are logged as "front".
void simulateOtherInstance(uint64_t markerUntil, uint64_t windowAt, const std::u16string& className,
                           const std::u16string& title);

// Script input. Without a script the program runs freely: idle waits jump the
// clock to the next timer, and an idle wait with no timer ends the run.
// `loadScript` returns false with a message naming the bad line.
bool loadScript(const std::string& text, std::string& error);
// Called when the program waits and no input will ever come (script ended,
// or no timer without a script). Default: print "running" and end the process.
void onInputExhausted(void (*handler)());
// Called whenever the program waits for input and no script is loaded (a
// replay watched, or running freely): true stops the run there, as when
// input is exhausted. For fingulp-sim's --until and tests that stop a
// watched game at a tick.
void onIdle(bool (*stopHere)());
// Prints the `state` line; set by the program's runner.
void onStateRequest(std::string (*reporter)());

// Writes the 176 x 220 screen as PNG; false when it cannot.
bool writeScreenPng(const std::string& path);

}  // namespace plat::headless
