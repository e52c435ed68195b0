// What a back end must implement. The handset layer (platform/core) does the
// rest: drawing, the event queue and timers, the input rules, resources,
// files, the generator. A back end reports its platform's input through
// platform/input.h.
// A back end is chosen at link time: link exactly one of
//   platform/headless  virtual clock, scripted input, recorded output (tests)
//   platform/sdl       a desktop window, audio, keyboard and gamepad (players)
//   platform/web       a page in a browser, touch keys, Web Audio (players)
// Adding one touches no game file.
#pragma once

#include <cstdint>
#include <string>

#include "platform/drawing.h"
#include "platform/sound.h"
#include "platform/types.h"
#include "platform/windowing.h"

namespace plat::backend {

// --- Time -------------------------------------------------------------------
// Monotonic milliseconds.
uint64_t now();
// Blocks for `milliseconds`. Input arriving meanwhile is reported (through
// platform/input.h) and handled afterwards, in order.
void sleep(uint32_t milliseconds);
// Blocks until input has been reported or the clock reaches `deadline`
// (kNoDeadline: no timer pending). The screen should be presented here when
// it has changed. A deadline already reached is a look without waiting: the
// input the platform already has is reported (a page yields to the browser
// once for it), so a replay feeding many inputs never holds the program.
constexpr uint64_t kNoDeadline = UINT64_MAX;
void waitForInput(uint64_t deadline);

// --- Output -----------------------------------------------------------------
// The window was created with this title and icon group; `screen` is its
// 176 x 220 colour bitmap, which the back end shows.
void windowCreated(const Char* title, int32_t iconId, const Bitmap* screen);
// The program drew on the screen bitmap.
void screenChanged();
void windowDestroyed();
// A timer was started (period in ms) or stopped (period 0); for logs.
void timerChanged(uint32_t id, uint32_t periodMs);
// Starts playing `wave` (read by the handset layer; nothing to play when its
// samples are null), ending what plays. `blocking`: the program waits the
// wave's length meanwhile, which the handset layer does; `name` and
// `blocking` are for logs.
void startSound(const Char* name, const Wave& wave, bool blocking);
void stopSound();
void startVibration();
void stopVibration();
void messageBox(const Char* text, const Char* caption, uint32_t style);
// The edition's name as the About screen shows it, e.g. u"FINGULP desktop".
const Char* editionName();

// --- Files ------------------------------------------------------------------
// The file at `path` has just been given new contents (written, or renamed
// there) by the file services; a back end whose files live in memory copies
// it to lasting storage here.
void fileWritten(const std::u16string& path);

// --- Start-up services --------------------------------------------------------
// The executable's full path, '/'-separated.
std::u16string executablePath();
// Named presence marker shared by every process of the same user, kept by
// the first until it ends.
MarkerResult createMarker(const Char* name);
// Announces this process's window so that other instances can find it.
void publishWindow(const Char* className, const Char* title);
// Another instance's window: 0 when none.
uint64_t findWindow(const Char* className, const Char* title);
void bringToFront(uint64_t window);

// --- Replays (platform/replay.h) ---------------------------------------------
// What every back end does for replays; the replay room does the rest:
//  - Before the program starts, once: plat::replay::recordGames(its edition,
//    where a finished game goes); a replay the player asked to watch (a file,
//    a link, a text) is given to plat::replay::watchFrom, and refused with
//    its reason.
//  - now() answers plat::replay::programClock(the back end's own clock), and
//    a wait for a span of the program's clock lasts
//    plat::replay::backEndWait(span) of the back end's (-1: until input);
//    a wait or a sleep ends early once plat::replay::seeking().
//  - A back end that shows a watched replay in real time calls
//    plat::replay::paceInRealTime once it starts; the watcher's keys call
//    plat::replay::changePace and seekTo, and whenever
//    plat::replay::shownChanged() the watcher is shown plat::replay::shown().

}  // namespace plat::backend
