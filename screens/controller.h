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
    uint8_t flags[6] = {0, 0, 0, 0, 0, 0};  // 0 Vibrate, 1 Sound, 2 level, 3..5 kept

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

    void loadResources();
    void drawMainMenu(plat::Surface* screen);
    void drawHelp(plat::Surface* screen);
    void drawAbout(plat::Surface* screen);
    void drawOptions(plat::Surface* screen);
    void drawSoftKeys(plat::Surface* target);
};

extern ScreenController screenController;
