// Small shared vocabulary of the handset layer: colours, rectangles, event
// codes, key codes and the text type. Everything above the platform speaks
// in these terms, exactly as the handset's own core library did.
#pragma once

#include <cstdint>

namespace plat {

// Colours are 0x00BBGGRR: 0x00FF0000 is pure blue, 0x000000FF pure red.
using Colour = uint32_t;

constexpr Colour rgb(uint32_t r, uint32_t g, uint32_t b) {
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
constexpr uint32_t redOf(Colour c) { return c & 0xFF; }
constexpr uint32_t greenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr uint32_t blueOf(Colour c) { return (c >> 16) & 0xFF; }

constexpr Colour kBlack = 0x00000000;
constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlue = 0x00FF0000;

// Left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The handset's screen.
constexpr int kScreenWidth = 176;
constexpr int kScreenHeight = 220;
// The soft-key captions' band at the foot of the screen: the left caption up
// to x 88, the right one from there. Taps on it are the soft keys; the fish
// swims above it.
constexpr int kCaptionTop = 198;
constexpr int kCaptionSplit = 88;

// Text is NUL-terminated UTF-16, as on the handset.
using Char = char16_t;

// Event codes of the window procedure (the handset's message numbers).
enum EventCode : uint32_t {
    kEventCreate = 1,
    kEventDestroy = 2,
    kEventFocusGained = 7,
    kEventFocusLost = 8,
    kEventPaint = 15,
    kEventClose = 16,  // the desktop's close button; the handset never sends it
    kEventQuit = 18,
    kEventKeyDown = 256,
    kEventChar = 258,
    kEventCommand = 273,
    kEventTimer = 275,
    // Past the handset's numbers: a page that may be killed without a word
    // asks the program to keep its settings now, as Close does, and go on.
    kEventSave = 0x8001,
    // A watched replay is seeked behind where it is: the window procedure
    // starts the watched game again from the replay's header.
    kEventRestartWatched = 0x8002,
};

// Virtual-key codes of the handset's family. Digits are '0'..'9' (0x30..0x39)
// and letters 'A'..'Z' (0x41..0x5A), as the characters themselves.
enum KeyCode : uint32_t {
    kKeyBack = 8,  // Backspace; the handset's Back key reaches the program as Escape
    kKeyReturn = 13,
    kKeyEscape = 27,
    kKeyLeft = 37,
    kKeyUp = 38,
    kKeyRight = 39,
    kKeyDown = 40,
    kKeyF1 = 0x70,
    kKeyF2 = 0x71,
};

// The asynchronous key state of a key that is held down.
constexpr uint16_t kKeyHeld = 0xFFFF;

// Soft-key commands carried by the soft-key bar.
constexpr uint32_t kCommandOk = 1;
constexpr uint32_t kCommandRightSoftKey = 40009;
constexpr uint32_t kCommandLeftSoftKey = 40035;
constexpr uint32_t kCommandQuit = 40036;

}  // namespace plat
