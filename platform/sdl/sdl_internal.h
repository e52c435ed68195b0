// What the files of the SDL back end share with each other: the one record of
// everything the back end holds, and the window and its presentation, the
// event pump, input handling, gamepads, sound, the instance channel and
// screenshots.
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/png_file.h"
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
    std::atomic<bool> endSignalled{false};  // SIGTERM, SIGINT or SIGHUP came
    bool hidden = false;     // the program was told the window is hidden or minimised
    bool programBusy = false;  // in a sleep or a waiting sound: input waits for later
    uint32_t raiseType = 0;  // the user event the instance channel posts
};

struct Gamepads {
    std::map<SDL_JoystickID, SDL_GameController*> open;
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
};

struct BackendData {
    Video video;
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
// A signal asked the program to end: it saves and ends without keeping
// anyone waiting (the close button keeps the handset's waits and boxes).
inline bool ending() { return backendData().input.endSignalled; }
// SIGTERM, SIGINT and SIGHUP as the close button; SIGPIPE ignored (end_signals.cpp).
void watchEndSignals();

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
// $XDG_CONFIG_HOME/fingulp/, else ~/.config/fingulp/; empty when neither is known.
std::string windowFileFolder();
bool parseWindowFile(const std::string& text, WindowPlacement& placement);  // false: damaged
std::string windowFileText(const WindowPlacement& placement);
bool readWindowFile(WindowPlacement& placement);  // false: none, or damaged
bool writeWindowFile(const WindowPlacement& placement);

// --- Paths (paths.cpp) ----------------------------------------------------------------------
// Where config.ini (and screenshots) go, '/'-terminated; empty when nowhere.
std::string settingsFolder();
// An installed copy's folder ('/'-terminated): bin/ or games/ under the
// install prefix the build was made for, or anything under /usr/ or /opt/.
bool installedFolder(const std::string& folder, const std::string& installPrefix);

}  // namespace plat::sdl
