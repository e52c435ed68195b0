// Exit: the switches and the four best scores go back into the settings,
// "config.ini" is written (or the player told it could not be) and the
// message loop is asked to end. A page that may be killed while hidden saves
// the same way without ending.
#include "platform/windowing.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "settings/settings_store.h"
#include "state/program_state.h"

void ScreenController::exitAndSave() {
    // Watching a replay never saves nor ends: the last screen stays.
    if (gameEnds(plat::replay::Ending::Exit)) return;
    saveSettings();
    plat::postQuit(0);
}

void ScreenController::saveSettings() {
    // A watched replay's game is not the player's: nothing of it is kept.
    if (watchingReplay()) return;
    // Without a score table (its allocation failed) the scores read at start
    // are written back unchanged.
    settingsStore.storeProgramValues(flags, scoreTable ? scoreTable->bestScores : nullptr);
    // The save has already waited its 3 seconds when it fails; the player
    // is told before the program ends, as at start-up.
    if (settingsStore.saveToFile(configPath) == 0) {
        plat::messageBox(mainWindow, u"Can't save config file!", u"", plat::kMessageBoxError);
    }
}
