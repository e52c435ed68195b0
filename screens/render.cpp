// Drawing the current screen: the game scene in play, the title picture, or
// one of the menu screens, then the soft-key captions.
#include "game/frame.h"
#include "media/drawing_objects.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "state/program_state.h"

void ScreenController::render() {
    // Every drawing of a running or paused game is a full game step too.
    if ((state == Playing || state == Paused) && currentGame) runGameFrame(*currentGame, mainWindow);

    plat::Surface* screen = plat::windowSurface(mainWindow);
    switch (state) {
        case MainMenu:
        case GameMenu:
            drawMainMenu(screen);
            break;
        case TitlePicture:
            if (drawing.splashSurface) plat::blockCopy(screen, 0, 0, 177, 220, drawing.splashSurface, 0, 0);
            break;
        case HelpFromMain:
        case HelpFromGame:
            drawHelp(screen);
            break;
        case AboutFromMain:
        case AboutFromGame:
            drawAbout(screen);
            break;
        case OptionsFromMain:
        case OptionsFromGame:
            drawOptions(screen);
            break;
        default:  // the game scene is already on screen
            break;
    }
    drawSoftKeys(screen);
    plat::releaseWindowSurface(mainWindow, screen);
}
