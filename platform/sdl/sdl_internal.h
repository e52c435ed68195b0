// What the files of the SDL back end share with each other: the one record of
// everything the back end holds, and the window and its presentation, the
// event pump, input handling, gamepads, sound, the instance channel and
// screenshots.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/png_file.h"
#include "platform/replay.h"
#include "platform/sound.h"
#include "platform/files.h"
#include "platform/sdl/key_bindings.h"
#include "platform/sdl/keymap.h"
#include "platform/text_encoding.h"
#include "platform/types.h"
#include "platform/windowing.h"

namespace plat::sdl {

// --- What the back end holds ---------------------------------------------------
struct Video {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    const uint32_t* pixels = nullptr;  // the program's screen bitmap
    bool screenDirty = true;
    bool needsPresent = true;
    int windowedWidth = 0;  // the window's size when last not fullscreen, to remember
    int windowedHeight = 0;
};

struct AudioOut {
    bool unavailable = false;  // no audio on this machine: stay silent
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec audioFormat{};
};

struct Input {
    std::atomic<bool> endSignalled{false};  // SIGTERM, SIGINT or SIGHUP came
    bool hidden = false;     // the program was told the window is hidden or minimised
    uint32_t raiseType = 0;  // the user event the instance channel posts
};

struct Gamepads {
    std::map<SDL_JoystickID, SDL_GameController*> open;
    std::set<uint64_t> pushedSticks;  // stick directions pushed past the dead zone, by source
    bool rumbling = false;  // the vibrator is on: controllers plugged in now rumble too
};

struct InstanceChannel {
    std::string name;        // the marker's name
    int lock = -1;           // the locked file of the first instance: the marker
    int marker = -1;         // its bound socket, listening once the window is published
    std::string socketPath;  // the socket's file, removed at the end
    int stop[2] = {-1, -1};  // written to end the listener at once
    std::string windowKey;   // "class\ttitle" once published
    std::thread listener;
    bool unanswered = false;  // the copy holding the marker gave no answer when last asked
};

struct BackendData {
    Video video;
    bool watching = false;  // a replay is watched: its keys (watching.cpp), nothing of the player's kept
    AudioOut audio;
    Input input;
    Gamepads gamepads;
    InstanceChannel instance;
    KeyBindings keys = defaultBindings();  // the player's keys.ini, once read
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

// --- The event pump (loop.cpp) -------------------------------------------------------
// Handles every OS event waiting; true when anything reached the program's queue.
bool pumpEvents();
// Blocks until an OS event arrives or the clock reaches `deadline`, handles what
// came; true when anything reached the program's queue.
bool waitEvents(uint64_t deadline);
uint32_t raiseEventType();      // the user event the instance channel posts
// A signal asked the program to end, or the player closed a watched game:
// it ends without keeping anyone waiting (the close button of a game played
// keeps the handset's waits and boxes).
inline bool ending() { return backendData().input.endSignalled || (backendData().watching && closeRequested()); }
// SIGTERM, SIGINT and SIGHUP as the close button; SIGPIPE ignored (end_signals.cpp).
void watchEndSignals();

// --- Input (input.cpp) ------------------------------------------------------------------
// One keyboard change; true when it fed the program.
bool handleKey(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers, bool down, bool repeat);
bool handleEvent(const SDL_Event& event);

// --- Gamepads (gamepad.cpp) -------------------------------------------------------------
void startGamepads();
void stopGamepads();
bool handleGamepadEvent(const SDL_Event& event);
bool gamepadConnected();
void rumbleGamepads(bool on);

// --- Sound (audio.cpp) ---------------------------------------------------------------
void playSamples(const Wave& wave);  // ends what plays
void stopSound();
void closeAudio();

// --- Single instance (instance.cpp) ------------------------------------------------------
MarkerResult createMarker(const Char* name);
void publishWindow(const Char* className, const Char* title);  // starts answering other copies
uint64_t findWindow(const Char* className, const Char* title);
void bringToFront(uint64_t window);
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
// Makes `text` the file `name` in that folder (made when missing, never
// through a link planted in place of fingulp/); false when it cannot be.
bool writeConfigFile(const std::string& name, const std::string& text, OldEntry old);

// --- The keys a player chooses (keys_file.cpp) ----------------------------------------------
// $XDG_CONFIG_HOME/fingulp/keys.ini, else ~/.config/fingulp/keys.ini; empty when neither is known.
std::string keysFilePath();
enum class KeysFile { Missing, Read, Refused };
// The bindings keys.ini holds; Refused (a damaged or hostile file) with the
// reason, and `bindings` left as they were.
KeysFile readKeysFile(KeyBindings& bindings, std::string& error);
// Reads keys.ini into the back end and sets sticky arrows; a refused file
// means today's keys and one line on stderr.
void loadKeys();

// --- Watching a replay (watching.cpp) -------------------------------------------------------
uint64_t programClock();           // the program's milliseconds (SDL's, through the replay room's clock)
int64_t realWaitMs(uint64_t programMs);  // how long to block for that span; -1 while paused
bool handleWatchKey(SDL_Keycode key, bool repeat);  // the watching keys; true when it was one
void showWatchState();             // the window title says where the replay is and how it plays

// --- Replays kept (replay_folder.cpp) -------------------------------------------------------
// $XDG_DATA_HOME/fingulp/replays/, else ~/.local/share/fingulp/replays/; empty when neither is known.
std::string replayFolder();
// "000042_2026-12-08_10-15-30_score-12.fgr": the game's number, the local time, the score.
std::string replayFileName(int64_t number, int64_t when, int32_t score);
// The number the next game gets among these names: one more than the highest.
int64_t nextReplayNumber(const std::vector<std::string>& names);
// Of the replay files named in a folder, those to remove: all but the one
// just `written`, the best-scoring (the first to reach that score) and the
// newest 50 others, newest by number, never by date.
std::vector<std::string> replaysToDrop(const std::vector<std::string>& names, const std::string& written);
// A folder made when missing (only the user may enter it); `ours` must not be a link.
bool ensureFolder(const std::string& path, bool ours);
// Writes a recorded game there (the same safe replace as config.ini) and
// drops what replaysToDrop names; a folder that cannot be written loses the
// replay with one line on stderr, never the game.
void keepReplay(const plat::replay::Replay& replay);

// --- Paths (paths.cpp) ----------------------------------------------------------------------
// Where config.ini (and screenshots) go, '/'-terminated; empty when nowhere.
std::string settingsFolder();
const std::string& programPath();  // the executable's path as the program sees it
// An installed copy's folder ('/'-terminated): bin/ or games/ under the
// install prefix the build was made for, or anything under /usr/ or /opt/.
bool installedFolder(const std::string& folder, const std::string& installPrefix);

}  // namespace plat::sdl
