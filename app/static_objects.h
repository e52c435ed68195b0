// The program's three static objects, built before the main routine in this
// order: the settings store, the first game session, the screen controller.
#pragma once

#include "screens/controller.h"
#include "settings/settings_store.h"

extern SettingsStore settingsStore;
extern ScreenController screenController;
