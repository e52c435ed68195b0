// The first paint: everything the program makes once, the 2-second splash,
// and the settings and best scores read from "config.ini".
#include "app/first_paint.h"

#include <cstring>

#include "media/sound_bank.h"
#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/resources.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "settings/settings_store.h"
#include "state/program_state.h"

namespace {

constexpr plat::Char kConfigName[] = u"config.ini";

void readSettingsFile(plat::Window* window) {
    if (!settingsStore.loadOrCreate(configPath)) {
        plat::messageBox(window, u"Can't create config file!", u"", plat::kMessageBoxError);
        return;  // flags stay 0 and the best scores keep their start value, 0
    }
    plat::sleepMs(1000);
    settingsStore.readSwitches(screenController.flags);
    if (scoreTable) settingsStore.readScores(scoreTable->bestScores);
}

void readSettings(plat::Window* window) {
    settingsRead = 1;
    // A watched replay brings its own switches and scores; the player's file
    // is neither read nor made.
    if (watchingReplay()) return;
    readSettingsFile(window);
    if (chosenLevel >= 0) screenController.flags[kLevelSwitch] = static_cast<uint8_t>(chosenLevel);
}

}  // namespace

void chooseLevel(int level) { chosenLevel = level; }

void buildConfigPath() {
    std::memset(configPath, 0, sizeof configPath);
    plat::Char module[plat::kMaxPath] = {};
    const int32_t length = plat::moduleFileName(module, plat::kMaxPath);
    int32_t folderEnd = -1;
    for (int32_t i = 0; i < length; ++i) {
        if (module[i] == plat::kPathSeparator) folderEnd = i;
    }
    constexpr int32_t kNameLength = sizeof kConfigName / sizeof kConfigName[0] - 1;
    // A path that does not fit is refused whole: cutting it short would name another file.
    if (length == 0 || folderEnd < 0 || folderEnd + 1 + kNameLength >= plat::kMaxPath) return;
    std::memcpy(configPath, module, sizeof(plat::Char) * (folderEnd + 1));
    std::memcpy(configPath + folderEnd + 1, kConfigName, sizeof kConfigName);
}

void firstPaint(plat::Window* window, plat::Surface* paintSurface) {
    soundBank = newSoundBank();
    createSurfaces(window);
    createDrawingObjects(paintSurface);
    gameEnded = 0;
    createFonts();

    plat::blockCopy(paintSurface, 0, 0, 176, 220, drawing.splashSurface, 0, 0);
    plat::sleepMs(2000);

    // Ended during the splash: the settings are neither looked for, read nor saved.
    if (!plat::closeRequested()) {
        buildConfigPath();
        readSettings(window);
    }

    firstPaintPending = 0;
    screenController.loadResources();
}
