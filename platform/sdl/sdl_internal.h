// What the files of the SDL back end share with each other: the one record of
// everything the back end holds, and the window and its presentation, the
// event pump, input handling, gamepads, sound, the instance channel and
// screenshots.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/png_file.h"
#include "platform/replay.h"
#include "platform/sdl/keymap.h"
#include "platform/text_encoding.h"
#include "platform/types.h"

namespace plat::sdl {

// --- What the back end holds ---------------------------------------------------
struct PresentStats {
    uint64_t presents = 0;
    uint64_t nanoseconds = 0;       // all presents but the first
    uint64_t firstNanoseconds = 0;  // the first sets up the renderer's machinery
    uint64_t raises = 0;            // raise requests from a second start
    std::string renderer;
};

struct Video {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    const uint32_t* pixels = nullptr;  // the program's screen bitmap
    bool screenDirty = true;
    bool needsPresent = true;
    int windowedWidth = 0;  // the window's size when last not fullscreen, to remember
    int windowedHeight = 0;
    PresentStats stats;  // figures for the benchmark and the desktop tests
};

struct DecodedWave {
    const uint8_t* file = nullptr;  // the resource it came from
    SDL_AudioSpec audioFormat{};
    Uint8* samples = nullptr;
    Uint32 length = 0;
};

struct AudioOut {
    bool unavailable = false;  // no audio on this machine: stay silent
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec audioFormat{};
    std::vector<DecodedWave> waves;  // the program has two, decoded once
};

struct Input {
    HeldKeys held;           // the keyboard's and the gamepads' keys held down
    bool closeFed = false;   // the close button has reached the program
    bool hidden = false;     // the program was told the window is hidden or minimised
    bool programBusy = false;  // in a sleep or a waiting sound: input waits for later
    uint32_t raiseType = 0;  // the user event the instance channel posts
};

struct Gamepads {
    std::map<SDL_JoystickID, SDL_GameController*> open;
    bool rumbling = false;  // the vibrator is on: controllers plugged in now rumble too
};

struct InstanceChannel {
    std::string name;       // the marker's name, the socket's too
    int marker = -1;        // the bound socket of the first instance
    std::string windowKey;  // "class\ttitle" once published
    std::thread listener;
};

// Watching a replay (watching.cpp): the program's clock runs at the chosen
// pace, stands still while paused, and the title says what plays.
struct Watching {
    bool on = false;
    plat::replay::Pace pace;
    int shown = -1;  // the title last set, as a watch state and pace
};

struct BackendData {
    Video video;
    Watching watching;
    AudioOut audio;
    Input input;
    Gamepads gamepads;
    InstanceChannel instance;
    std::string programPath;  // the executable's path as the program sees it; worked out once
};

// The one record, made at the first call and never destroyed: an exit from
// elsewhere (Xlib ends the process when the X server goes away) must not meet
// the instance channel's listener thread still joinable.
BackendData& backendData();

// --- Text ---------------------------------------------------------------------
using plat::fromUtf8;
using plat::toUtf8;

// --- The window (video.cpp) ---------------------------------------------------------
bool createDesktopWindow(const Char* title, int32_t iconId, const uint32_t* screenPixels);
void destroyDesktopWindow();
SDL_Window* desktopWindow();
void markScreenChanged();
void markNeedsPresent();       // exposure, resize: show the last picture again
void present();                // uploads and shows the screen when needed
void toggleFullscreen();
void windowResized();          // the window manager or the player changed its size
void raiseWindow();
int currentScale();            // integer scale the screen is shown at
const uint32_t* screenPixels();
PresentStats presentStats();

// --- The event pump (loop.cpp) -------------------------------------------------------
// Marks the program busy (in a sleep, a waiting sound) for the guard's life:
// the events handled meanwhile wait in its queue.
struct ProgramBusy {
    ProgramBusy() : wasBusy(backendData().input.programBusy) { backendData().input.programBusy = true; }
    ~ProgramBusy() { backendData().input.programBusy = wasBusy; }
    ProgramBusy(const ProgramBusy&) = delete;
    ProgramBusy& operator=(const ProgramBusy&) = delete;
    bool wasBusy;
};
// Handles every OS event waiting; true when anything reached the program's queue.
bool pumpEvents();
// Blocks until an OS event arrives or the clock reaches `deadline`, handles what
// came; true when anything reached the program's queue.
bool waitEvents(uint64_t deadline);
uint32_t raiseEventType();      // the user event the instance channel posts

// --- Input (input.cpp) ------------------------------------------------------------------
// One keyboard change; true when it fed the program.
bool handleKey(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers, bool down, bool repeat);
bool handleClick(int32_t x, int32_t y);  // a left click at screen pixel x, y
bool handleEvent(const SDL_Event& event);
uint16_t heldKeyState(uint32_t keyCode);
void releaseAllKeys();

// --- Gamepads (gamepad.cpp) -------------------------------------------------------------
void startGamepads();
void stopGamepads();
bool handleGamepadEvent(const SDL_Event& event);
bool gamepadConnected();
void rumbleGamepads(bool on);

// --- Sound (audio.cpp) ---------------------------------------------------------------
void playWaveFile(const uint8_t* wave, size_t size, bool wait);
void stopSound();
void closeAudio();

// --- Single instance (instance.cpp) ------------------------------------------------------
void stopInstanceChannel();

// --- Screenshots (screenshot.cpp) --------------------------------------------------------
// Writes the screen and a copy at `scale` as numbered PNGs in `folder`
// ('/'-terminated); the paths written, the plain shot's first (none on failure).
std::vector<std::string> writeScreenshot(const std::string& folder, const uint32_t* pixels, int scale);

// --- The window remembered (window_file.cpp) -------------------------------------------------
struct WindowPlacement {
    int width = 0;
    int height = 0;
    bool fullscreen = false;
};
// $VARIABLE + leaf when the variable holds an absolute path, else $HOME +
// inHome + leaf; empty when neither is known.
std::string userFolder(const char* variable, const char* inHome, const char* leaf);
// $XDG_CONFIG_HOME/fingulp/, else ~/.config/fingulp/; empty when neither is known.
std::string windowFileFolder();
bool parseWindowFile(const std::string& text, WindowPlacement& placement);  // false: damaged
std::string windowFileText(const WindowPlacement& placement);
bool readWindowFile(WindowPlacement& placement);  // false: none, or damaged
bool writeWindowFile(const WindowPlacement& placement);

// --- Watching a replay (watching.cpp) -------------------------------------------------------
void startWatching();              // the program runs to show a replay
uint64_t programClock();           // the program's milliseconds (SDL's, or the replay's pace)
int64_t realWaitMs(uint64_t programMs);  // how long to block for that span; -1 while paused
bool handleWatchKey(SDL_Keycode key, bool repeat);  // the watching keys; true when it was one
void showWatchState();             // the window title says what plays

// --- Replays kept (replay_folder.cpp) -------------------------------------------------------
// $XDG_DATA_HOME/fingulp/replays/, else ~/.local/share/fingulp/replays/; empty when neither is known.
std::string replayFolder();
// "2026-12-08_10-15-30_score-12.fgr", from the local time
std::string replayFileName(int64_t when, int32_t score);
// Of the replay files named in a folder, those to remove: all but the
// best-scoring (the first to reach that score) and the newest 50 others.
std::vector<std::string> replaysToDrop(const std::vector<std::string>& names);
// A folder made when missing (only the user may enter it); `ours` must not be a link.
bool ensureFolder(const std::string& path, bool ours);
// Writes a recorded game there (the same safe replace as config.ini) and
// drops what replaysToDrop names; a folder that cannot be written loses the
// replay with one line on stderr, never the game.
void keepReplay(const plat::replay::Replay& replay);

// --- Paths (paths.cpp) ----------------------------------------------------------------------
std::string settingsFolder();  // where config.ini (and screenshots) go, '/'-terminated

}  // namespace plat::sdl
