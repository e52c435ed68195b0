// The handset's input rules, once for every edition. A back end reports what
// the player's hardware did (a key went down, repeated or came up, a tap at a
// screen pixel, focus, exposure, the close button) and the handset layer
// decides what reaches the program: which press is fed, which repeat is
// dropped, which tap is a soft key, what a held key reads.
//
// Every input the program receives passes through the event queue
// (platform/core/windowing.cpp) and the key-state read (`asyncKeyState`);
// replays are recorded and played there, through platform/replay/hooks.h,
// once for all editions.
#pragma once

#include <cstdint>

namespace plat::input {

// Where a key press comes from: a keyboard key, a gamepad button, a touch
// key, a script line. Each back end numbers its own; a key reads held while
// any source holds it.
using Source = uint64_t;

// A key went down at `source`; `repeat` when it is the platform's auto-repeat
// of a key still held. A first press always reaches the program. A repeat
// reaches it as a further press only while the program is not blocked (in a
// sleep or a waiting sound) and no earlier press of the key still waits, so
// that the cursor stops when the key is let go. True when the program was fed.
bool keyDown(Source source, uint32_t keyCode, bool repeat = false);
void keyUp(Source source);
// A device went away: every source in [first, last] lets go.
void releaseSources(Source first, Source last);
// A soft key went down (F1, F2, a gamepad or touch key); repeats are dropped.
bool softKey(bool left, bool repeat = false);
// A tap or click at screen pixel x, y: on the caption band it is the soft key
// under it (true), elsewhere nothing.
bool tap(int32_t x, int32_t y);
// The focus: lost releases every held key (their key-ups never come).
void focus(bool gained);
// Keys let go while the platform could not say so (a modal box was up).
void releaseAll();
void exposed();  // the window needs a paint
// Sticky arrows, for players who cannot hold a key (off until set): a press
// of an arrow keeps it reading held until another arrow is pressed (which is
// then the held one) or the same arrow again (which lets it go). Repeats
// change nothing; a focus loss, releaseAll and turning the option off let it
// go, as they do a held key. Through the key state the program reads, so a
// replay records it as any held key.
void setStickyArrows(bool on);
// What the player's own keys read now (a held key 0xFFFF), whatever a watched
// replay answers the program.
uint16_t liveKeyState(uint32_t keyCode);
// The close button: the program is asked once; true when this asked it.
bool close();
// A page about to be hidden, which the platform may kill without a word: the
// program keeps its settings now, as Close does, and goes on.
void save();

// The program is blocked (a sleep, a waiting sound) while one of these lives.
struct Blocked {
    Blocked();
    ~Blocked();
    Blocked(const Blocked&) = delete;
    Blocked& operator=(const Blocked&) = delete;
    bool wasBlocked;
};

}  // namespace plat::input
