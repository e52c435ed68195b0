// The screen controller: which screen shows and what every key and soft key
// means on it; new game, pause, resume and Exit.
#pragma once

#include <cstdint>

#include "platform/drawing.h"

enum ScreenState : int32_t {
    MainMenu = 0,
    GameMenu = -4,
    Playing = 2,
    Paused = 3,
    TitlePicture = 4,
    OptionsFromMain = -7,
    OptionsFromGame = -9,
    AboutFromMain = -2,
    AboutFromGame = -6,
    HelpFromMain = -1,
    HelpFromGame = -5,
};

// previousState set by a repaint: draw the whole screen.
constexpr int32_t kFullRedraw = 10;

struct ScreenController {
    int32_t state = MainMenu;
    int32_t cursor = 0;
    int32_t helpTop = 0;
    int32_t previousState = -1;
    uint8_t flags[6] = {0, 0, 0, 0, 0, 0};  // the switches: kVibrateSwitch, kSoundSwitch, kLevelSwitch, 3..5 kept

    // Drawing resources, filled once by loadResources.
    plat::Surface* menuBitmapSurface = nullptr;
    plat::Bitmap* backgroundBitmap = nullptr;  // 136
    plat::Bitmap* panelBitmap = nullptr;       // 131
    plat::Bitmap* cursorBitmap = nullptr;      // 148
    plat::Bitmap* boxBitmaps[4] = {};          // 150, 151, 160, 161
    plat::Bitmap* upArrowBitmap = nullptr;     // 135
    plat::Bitmap* downArrowBitmap = nullptr;   // 133
    plat::Bitmap* backCaption = nullptr;       // 155
    plat::Bitmap* menuCaption = nullptr;       // 156
    plat::Bitmap* selectCaption = nullptr;     // 166
    plat::Bitmap* storeCaption = nullptr;      // 103
    plat::Bitmap* okCaption = nullptr;         // 104
    plat::Bitmap* resumeCaption = nullptr;     // 125
    plat::Bitmap* pauseCaption = nullptr;      // 126
    const plat::Char* menuItems[5] = {};       // "New" .. "Exit", in row order
    const plat::Char* helpLines[10] = {};      // the help text, seven shown at a time

    void onSelect();
    void onUp();
    void onDown();
    void onLeft();
    void onRight();
    void onOtherKey();
    void onLeftSoftKey();
    void onRightSoftKey();
    void render();
    void exitAndSave();
    // What Exit keeps, written now; the program goes on.
    void saveSettings();

    // The helpers behind the key handlers.
    void playClick();         // the key click, when Sound is on and no game is being played
    void selectMenuItem();    // Enter on the highlighted row of either menu
    void toggleOptionsRow();  // flips the draft switch of the highlighted Options row
    void startNewGame();
    // A program started to watch a replay: its game starts as New game from the main menu would.
    void startWatchedGame();

    // The pictures are kept for the whole run.
    void loadResources();
    void drawMainMenu(plat::Surface* screen);
    void drawBackgroundOnRepaint(plat::Surface* screen);
    void drawHelp(plat::Surface* screen);
    void drawAbout(plat::Surface* screen);
    void drawOptions(plat::Surface* screen);
    void drawSoftKeys(plat::Surface* target);

    // Copies a block of one of the controller's pictures through
    // menuBitmapSurface, opaquely or skipping the key colour. A picture that
    // failed to load draws nothing.
    void copyPicture(plat::Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                     plat::Bitmap* picture, int32_t sx, int32_t sy);
    void copyPictureKeyed(plat::Surface* dest, int32_t x, int32_t y, int32_t width, int32_t height,
                          plat::Bitmap* picture, int32_t sx, int32_t sy, plat::Colour key);
    // Composes the text layer of Help, About or Options (drawn on
    // overlaySurface from `top` down) over the frosted panel and puts it on screen.
    void showPanel(plat::Surface* screen, int32_t top);
};

// The program's one controller, built before the main routine.
extern ScreenController screenController;
