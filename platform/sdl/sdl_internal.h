// What the files of the SDL back end share with each other: the window and its
// presentation, the event pump, input handling, gamepads, sound, the instance
// channel, screenshots and the test input script.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/png_file.h"
#include "platform/sdl/keymap.h"
#include "platform/text_encoding.h"
#include "platform/types.h"

namespace plat::sdl {

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
void raiseWindow();
int currentScale();            // integer scale the screen is shown at
const uint32_t* screenPixels();
struct PresentStats {
    uint64_t presents = 0;
    uint64_t nanoseconds = 0;       // all presents but the first
    uint64_t firstNanoseconds = 0;  // the first sets up the renderer's machinery
    uint64_t raises = 0;  // raise requests from a second start
    std::string renderer;
};
PresentStats presentStats();

// --- The event pump (loop.cpp) -------------------------------------------------------
// Handles every OS event waiting and the test script's due input; true when
// anything reached the program's queue.
bool pumpEvents();
// Blocks until an OS event arrives or the clock reaches `deadline`, handles what
// came; true when anything reached the program's queue.
bool waitEvents(uint64_t deadline);
uint32_t raiseEventType();      // the user event the instance channel posts

// --- Input (input.cpp) ------------------------------------------------------------------
// One keyboard change, from SDL or from the test script; true when it fed the program.
bool handleKey(SDL_Scancode scancode, SDL_Keycode keycode, uint16_t modifiers, bool down, bool repeat);
bool handleClick(int32_t x, int32_t y);  // a left click at screen pixel x, y
bool handleEvent(const SDL_Event& event);
uint16_t heldKeyState(uint32_t keyCode);
HeldKeys& heldKeys();
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
// ('/'-terminated); the plain shot's path, empty on failure.
std::string writeScreenshot(const std::string& folder, const uint32_t* pixels, int scale);

// --- Paths (paths.cpp) ----------------------------------------------------------------------
std::string settingsFolder();  // where config.ini (and screenshots) go, '/'-terminated

// --- Test input (test_input.cpp) ----------------------------------------------------------
// Reads the script named by FINGULP_TEST_INPUT; false with `error` set when bad.
bool loadTestInput(std::string& error);
// Runs the script's input that is due; true when it fed the program.
bool runDueTestInput(uint64_t now);
// When the script's next input falls due (UINT64_MAX: none).
uint64_t nextTestInputAt();

}  // namespace plat::sdl
