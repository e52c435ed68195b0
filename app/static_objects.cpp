// The three static objects, built before the main routine in this order: the
// settings store, the first game session (difficulty 0), the screen controller.
#include "app/static_objects.h"

#include <new>

#include "app/globals.h"
#include "app/program.h"
#include "game/session.h"
#include "media/sound_bank.h"
#include "media/surfaces.h"
#include "platform/random.h"

SettingsStore settingsStore;
static const bool firstSessionMade = (currentGame = newGameSession(0), true);
ScreenController screenController;

void resetProgram() {
    (void)firstSessionMade;
    releaseSurfaces(mainWindow);
    releaseDrawingObjects();
    screenController.releaseResources();
    settingsStore.~SettingsStore();
    new (&settingsStore) SettingsStore();
    delete currentGame;
    currentGame = nullptr;
    delete scoreTable;
    scoreTable = nullptr;
    delete soundBank;
    soundBank = nullptr;
    resetProgramValues();
    plat::seedRandom(1);
    currentGame = newGameSession(0);
    screenController = ScreenController{};
}
