// Starting the program afresh in one process: every static object, every
// program-wide value and everything the program otherwise keeps for its
// whole run is given back and built again.
#include "testing/program_reset.h"

#include <new>

#include "game/session.h"
#include "media/sound_bank.h"
#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/drawing.h"
#include "platform/random.h"
#include "screens/controller.h"
#include "settings/settings_store.h"
#include "state/program_state.h"

namespace {

// The first paint's drawing objects, which the program never frees.
void releaseDrawingObjects() {
    DrawingObjects& d = drawing;
    plat::deleteSurface(d.splashSurface);
    plat::deleteSurface(d.menuTextSurface);
    plat::deleteBitmap(d.splashBitmap);
    plat::deleteBitmap(d.menuTextBitmap);
    plat::deletePen(d.bluePen);
    plat::deletePen(d.blackPen);
    plat::deleteBrush(d.blueBrush);
    plat::deleteFont(d.textFont);
    plat::deleteFont(d.smallFont);
    plat::deleteFont(d.titleFont);
    d = DrawingObjects{};
}

}  // namespace

void releaseControllerPictures(ScreenController& c) {
    plat::Bitmap** pictures[] = {&c.backgroundBitmap, &c.panelBitmap,    &c.cursorBitmap,  &c.boxBitmaps[0],
                                 &c.boxBitmaps[1],    &c.boxBitmaps[2],  &c.boxBitmaps[3], &c.upArrowBitmap,
                                 &c.downArrowBitmap,  &c.backCaption,    &c.menuCaption,   &c.selectCaption,
                                 &c.storeCaption,     &c.okCaption,      &c.resumeCaption, &c.pauseCaption};
    for (plat::Bitmap** picture : pictures) {
        plat::deleteBitmap(*picture);
        *picture = nullptr;
    }
}

// The objects the record owns go with it: a test that starts from fresh
// values must not leave the program's first session unreachable.
void resetProgramValues() {
    delete currentGame;
    delete scoreTable;
    delete soundBank;
    programValues = ProgramValues{};
}

void resetProgram() {
    releaseSurfaces(mainWindow);
    releaseDrawingObjects();
    releaseControllerPictures(screenController);
    plat::deleteSurface(screenController.menuBitmapSurface);
    screenController.menuBitmapSurface = nullptr;
    settingsStore.~SettingsStore();
    new (&settingsStore) SettingsStore();
    resetProgramValues();
    plat::seedRandom(1);
    currentGame = newGameSession(0);
    screenController = ScreenController{};
}
