// The window procedure: every key, soft key, focus change, paint and timer
// tick arrives here and is routed to the screen controller or the game.
#include "app/window_proc.h"

#include "app/first_paint.h"
#include "app/tick.h"
#include "game/frame.h"
#include "media/sound_bank.h"
#include "media/surfaces.h"
#include "platform/resources.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "state/program_state.h"

namespace {

constexpr int32_t kSoftKeyBarId = 136;

int32_t onCreate(plat::Window* window) {
    int32_t result = 0;
    if (!plat::createSoftKeyBar(window, kSoftKeyBarId, plat::kCommandLeftSoftKey, plat::kCommandRightSoftKey)) {
        result = -1;
    } else {
        plat::Char text[30];
        result = plat::loadString(104, text, 30) > 0 ? 0 : -1;
    }
    scoreTable = new (std::nothrow) ScoreTable;
    return result;
}

void onKeyDown(uint32_t key) {
    switch (key) {
        case plat::kKeyReturn:
            screenController.onSelect();
            break;
        case plat::kKeyEscape:
            break;  // the Back key does nothing at all
        case plat::kKeyLeft:
            screenController.onLeft();
            break;
        case plat::kKeyUp:
            screenController.onUp();
            break;
        case plat::kKeyRight:
            screenController.onRight();
            break;
        case plat::kKeyDown:
            screenController.onDown();
            break;
        default:
            screenController.onOtherKey();
            break;
    }
}

void onFocusLost() {
    plat::stopTimer(mainWindow, kGameTimerId);
    if (gamePhase == kPhaseRunning && screenController.state == Playing) {
        if (screenController.switches[kSoundSwitch] == 1 && soundBank) soundBank->playBlocking(0);
        screenController.state = Paused;
        screenController.render();
    }
}

void onPaint(plat::Window* window) {
    if (firstPaintPending == 1) {
        // The shell's soft-key bar is never seen: it goes below the screen.
        plat::moveSoftKeyBar(plat::findSoftKeyBar(window), 0, 220, 176, 20);
    }
    const bool first = firstPaintPending == 1;
    plat::Surface* paintSurface = plat::beginPaint(window);
    if (first) firstPaint(window, paintSurface);
    plat::endPaint(window);
    screenController.previousState = kFullRedraw;
    screenController.render();
    for (int i = 0; i < kDraftedSwitches; ++i) optionsDraft[i] = screenController.switches[i];
    // A program started to watch a replay begins its game at once.
    if (first) screenController.startWatchedGame();
}

}  // namespace

int32_t mainWindowProc(plat::Window* window, uint32_t code, uint32_t param, uint32_t param2) {
    switch (code) {
        case plat::kEventCreate:
            return onCreate(window);
        case plat::kEventDestroy:
            releaseSurfaces(window);
            plat::postQuit(0);
            return 1;
        case plat::kEventFocusGained:
            plat::startTimer(mainWindow, kGameTimerId, kGameTimerPeriodMs);
            return 1;
        case plat::kEventFocusLost:
            onFocusLost();
            return 1;
        case plat::kEventPaint:
            onPaint(window);
            return 1;
        case plat::kEventClose:
            // Watching a replay: the watched game ends here, the last screen stays.
            if (gameEnds(plat::replay::Ending::Closed)) return 1;
            // The desktop's close button keeps the best scores, as Exit does;
            // before the settings were read there is nothing to keep.
            if (settingsRead) {
                screenController.exitAndSave();
            } else {
                plat::postQuit(0);
            }
            return 1;
        case plat::kEventSave:
            // A page hidden (and maybe killed) keeps them as Close does.
            if (settingsRead) screenController.saveSettings();
            return 1;
        case plat::kEventKeyDown:
            onKeyDown(param);
            return 1;
        case plat::kEventCommand:
            switch (param) {
                case plat::kCommandOk:
                    plat::destroyWindow(window);
                    return 1;
                case plat::kCommandRightSoftKey:
                    screenController.onRightSoftKey();
                    return 1;
                case plat::kCommandLeftSoftKey:
                    screenController.onLeftSoftKey();
                    return 1;
                case plat::kCommandQuit:
                    releaseSurfaces(window);
                    plat::postQuit(0);
                    return 1;
                default:
                    return plat::defaultWindowProc(window, code, param, param2);
            }
        case plat::kEventTimer:
            runTick();
            return 1;
        case plat::kEventRestartWatched:
            // A watched replay sought backwards plays again from its start.
            screenController.startWatchedGame();
            return 1;
        default:
            return plat::defaultWindowProc(window, code, param, param2);
    }
}
