// Exit: the switches and the four best scores go back into the settings,
// "config.ini" is written (or the player told it could not be) and the
// message loop is asked to end. A page that may be killed while hidden saves
// the same way without ending.
#include <cstdio>

#include "platform/windowing.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "settings/settings_store.h"
#include "state/program_state.h"

namespace {

constexpr uint32_t kNameKey = 0;
constexpr uint32_t kFirstSwitchKey = 1;
constexpr uint32_t kFirstScoreKey = 7;

// Room for any 32-bit value in decimal, sign and terminator included.
constexpr int kScoreTextSize = 16;

void composeScore(int32_t score, plat::Char (&text)[kScoreTextSize]) {
    char digits[kScoreTextSize];
    std::snprintf(digits, sizeof digits, "%d", static_cast<int>(score));
    int i = 0;
    for (; digits[i] != '\0'; ++i) text[i] = static_cast<plat::Char>(digits[i]);
    text[i] = 0;
}

}  // namespace

void ScreenController::exitAndSave() {
    // Watching a replay never saves nor ends: the last screen stays.
    if (gameEnds(plat::replay::Ending::Exit)) return;
    saveSettings();
    plat::postQuit(0);
}

void ScreenController::saveSettings() {
    // A watched replay's game is not the player's: nothing of it is kept.
    if (watchingReplay()) return;
    settingsStore.setValue(kNameKey, u"None");
    for (uint32_t i = 0; i < 6; ++i) settingsStore.setValue(kFirstSwitchKey + i, flags[i] == 1 ? u"on" : u"off");
    // Without a score table (its allocation failed) the scores read at start
    // are written back unchanged.
    if (scoreTable) {
        for (uint32_t k = 0; k < 4; ++k) {
            plat::Char text[kScoreTextSize];
            composeScore(scoreTable->bestScores[k], text);
            settingsStore.setValue(kFirstScoreKey + k, text);
        }
    }
    // The save has already waited its 3 seconds when it fails; the player
    // is told before the program ends, as at start-up.
    if (settingsStore.saveToFile(configPath) == 0) {
        plat::messageBox(mainWindow, u"Can't save config file!", u"", plat::kMessageBoxError);
    }
}
