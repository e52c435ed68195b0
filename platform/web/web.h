// The web handset's page: what the web executable calls around the program,
// and the functions its JavaScript (web_library.js) provides to the back end.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat::web {

// Puts the saved files back from the browser and hooks the page's input.
void startPage();
// The program has ended: the page says so (or that another tab has it open).
void endPage();

}  // namespace plat::web

extern "C" {
// The clock, in ms.
double fingulp_now();
// Why the program suspends: a blocking wait (a sleep, a sound), reading
// input, or waiting for the browser to answer a question.
enum FingulpSuspension { kFingulpBlocked = 0, kFingulpReadingInput = 1, kFingulpAsking = 2 };
// The one place the program suspends (ASYNCIFY): until input has been fed, a
// question answered or the clock reaches `deadline` (negative: none).
void fingulp_suspend(double deadline, int why);
void fingulp_page_start(const char* folder);
void fingulp_page_end();
void fingulp_present(const uint8_t* rgba, int width, int height);
// PCM samples as platform/sound.h describes them; null: nothing to play.
void fingulp_play_sound(const uint8_t* samples, size_t bytes, int channels, int rate, int bits);
void fingulp_stop_sound();
void fingulp_vibrate(int on);
void fingulp_message(const char* text, const char* caption);
void fingulp_file_written(const char* path);
// Questions answered later through fingulp_answer (-1 while pending): the
// marker (0 created, 1 already held, 2 failed) and another copy's window
// (1 found, 0 none).
void fingulp_ask_marker(const char* name);
void fingulp_ask_window(const char* key);
int fingulp_answer();
void fingulp_publish_window(const char* key);
void fingulp_bring_to_front();
// Replays: the link's fragment when it holds one, that is when it starts with
// `prefix` (malloc'd; null when none; the page keeps the prefix for its links),
// a recorded game to keep (best and last), a replay refused, and what the
// page shows while one is watched: the watch state (plat::replay::Watch: 1
// waiting, 2 playing, 3 ended), paused, the speed, the watched game's time
// and the recorded game's length in milliseconds, and where it departs from
// this program's game (ms, -1: it does not). Called whenever any of these
// changes (the time to the tenth of a second), never during a seek.
char* fingulp_replay_fragment(const char* prefix);
void fingulp_keep_replay(const char* text, int fishEaten);
void fingulp_replay_refused(const char* why);
void fingulp_watch_shown(int state, int paused, int speed, double elapsedMs, double totalMs, double departureMs);
}
