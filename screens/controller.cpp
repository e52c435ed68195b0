// What each key and soft key does on each screen: the menus, Options, Help,
// About, the title picture, and leaving, pausing and resuming a game.
#include "screens/controller.h"

#include "media/sound_bank.h"
#include "platform/sound.h"
#include "platform/windowing.h"
#include "state/program_state.h"

namespace {

constexpr int32_t kMenuRows = 5;
constexpr int32_t kOptionsRows = 2;
constexpr int32_t kLastHelpTop = 3;

bool isMenu(int32_t state) { return state == MainMenu || state == GameMenu; }
bool isOptions(int32_t state) { return state == OptionsFromMain || state == OptionsFromGame; }
bool isHelp(int32_t state) { return state == HelpFromMain || state == HelpFromGame; }

// Steps the cursor by one row, wrapping round at both ends.
int32_t wrapped(int32_t cursor, int32_t step, int32_t rows) {
    cursor += step;
    if (cursor < 0) return rows - 1;
    if (cursor > rows - 1) return 0;
    return cursor;
}

// Up and Down share everything but the direction.
void moveVertically(ScreenController& c, int32_t step) {
    c.previousState = c.state;
    if (gameOverShown == 1) return;
    c.playClick();
    if (isMenu(c.state)) {
        c.cursor = wrapped(c.cursor, step, kMenuRows);
    } else if (isOptions(c.state)) {
        c.cursor = wrapped(c.cursor, step, kOptionsRows);
    } else if (isHelp(c.state)) {
        const int32_t top = c.helpTop + step;
        if (top < 0 || top > kLastHelpTop) return;  // already at the end: clicked, not redrawn
        c.helpTop = top;
    } else if (c.state == TitlePicture) {
        c.state = MainMenu;
    } else {
        return;
    }
    c.render();
}

// Left and Right are the same key on every screen.
void moveSideways(ScreenController& c) {
    if (gameOverShown == 1) return;
    c.playClick();
    if (isOptions(c.state)) {
        c.previousState = c.state;
        c.toggleOptionsRow();
    } else if (c.state == TitlePicture) {
        c.previousState = c.state;
        c.state = MainMenu;
    } else {
        return;
    }
    c.render();
}

// MENU from a running or paused game: back to the in-game menu.
void leaveGameForMenu(ScreenController& c, bool stopTheTimer) {
    if (c.switches[kSoundSwitch] == 1) {
        if (soundBank) soundBank->stop();
        musicTicks = 180;
    }
    if (stopTheTimer) plat::stopTimer(mainWindow, kGameTimerId);
    c.state = GameMenu;
    c.cursor = 0;
}

void resumeGame(ScreenController& c) {
    musicTicks = 180;
    c.state = Playing;
    plat::startTimer(mainWindow, kGameTimerId, kGameTimerPeriodMs);
}

}  // namespace

ScreenController screenController;

void ScreenController::playClick() {
    if (switches[kSoundSwitch] == 1 && state != Playing && soundBank) soundBank->playBlocking(0);
}

void ScreenController::toggleOptionsRow() {
    if (cursor < 0 || cursor >= 3) return;
    optionsDraft[cursor] = optionsDraft[cursor] == 1 ? 0 : 1;
}

void ScreenController::onUp() { moveVertically(*this, -1); }

void ScreenController::onDown() { moveVertically(*this, +1); }

void ScreenController::onLeft() { moveSideways(*this); }

void ScreenController::onRight() { moveSideways(*this); }

void ScreenController::onSelect() {
    previousState = state;
    if (gameOverShown == 1) return;
    playClick();
    if (isMenu(state)) {
        selectMenuItem();
    } else if (isOptions(state)) {
        toggleOptionsRow();
        render();
    } else if (state == TitlePicture) {
        state = MainMenu;
        render();
    }
}

void ScreenController::selectMenuItem() {
    const bool fromGame = state == GameMenu;
    switch (cursor) {
        case 0:
            startNewGame();
            return;
        case 1:
            for (int i = 0; i < kDraftedSwitches; ++i) optionsDraft[i] = switches[i];
            state = fromGame ? OptionsFromGame : OptionsFromMain;
            cursor = 0;
            break;
        case 2:
            helpTop = 0;
            state = fromGame ? AboutFromGame : AboutFromMain;
            break;
        case 3:
            helpTop = 0;
            state = fromGame ? HelpFromGame : HelpFromMain;
            break;
        case 4:
            exitAndSave();
            break;
        default:
            return;
    }
    render();
}

void ScreenController::onOtherKey() {
    previousState = state;
    if (state != TitlePicture) return;
    state = MainMenu;
    render();
}

void ScreenController::onLeftSoftKey() {
    plat::stopVibration();
    previousState = state;
    switch (state) {
        case MainMenu:
            if (gameEnded == 1) {
                // The ended game is shown again, still locked.
                state = Playing;
                gameOverShown = 1;
            } else {
                state = TitlePicture;
            }
            break;
        case GameMenu:
            resumeGame(*this);
            break;
        case Playing:
            if (gameOverShown == 1) {
                state = MainMenu;
                cursor = 0;
                gameOverShown = 0;
                // Showing the ended game again ran a frame that marked the
                // player starved once more; that must not follow us into the
                // menu, where the next tick would lock the keys.
                gamePhase = kPhaseIdle;
            } else {
                leaveGameForMenu(*this, true);
            }
            break;
        case Paused:
            // The timer of a paused game is already stopped, unless the window
            // regained the focus meanwhile; only with Sound on is it stopped here.
            leaveGameForMenu(*this, switches[kSoundSwitch] == 1);
            break;
        case OptionsFromMain:
            state = MainMenu;
            break;
        case OptionsFromGame:
            state = GameMenu;
            break;
        case TitlePicture:
            state = MainMenu;
            break;
        default:  // Help and About: drawn again as they are
            break;
    }
    render();
}

void ScreenController::onRightSoftKey() {
    plat::stopVibration();
    if (isMenu(state)) {
        onSelect();
        return;
    }
    previousState = state;
    switch (state) {
        case Playing:
            if (gameOverShown == 1) return;
            state = Paused;
            plat::stopTimer(mainWindow, kGameTimerId);
            break;
        case Paused:
            if (gameOverShown == 1) return;
            resumeGame(*this);
            break;
        case OptionsFromMain:
        case OptionsFromGame:
            for (int i = 0; i < kDraftedSwitches; ++i) switches[i] = optionsDraft[i];
            state = state == OptionsFromMain ? MainMenu : GameMenu;
            break;
        case HelpFromMain:
        case AboutFromMain:
        case TitlePicture:
            state = MainMenu;
            break;
        case HelpFromGame:
        case AboutFromGame:
            state = GameMenu;
            break;
        default:
            return;
    }
    render();
}
