// Starting a new game from either menu (or the watched one at once, or again
// when it is sought back): a fresh session at the current level, the "Get
// Ready!" card, then the game timer.
#include "game/session.h"
#include "platform/clock.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "screens/get_ready.h"
#include "state/program_state.h"

namespace {

constexpr uint32_t kPauseBeforeNewGameMs = 100;

}  // namespace

void ScreenController::startNewGame() {
    // A watched game ends where its player left it for a new one.
    if (gameEnds(plat::replay::Ending::NewGame)) return;
    plat::sleepMs(kPauseBeforeNewGameMs);
    // The new session is made before the old one goes: when it cannot be had,
    // the menu stays as it is and the suspended or ended game is kept.
    const uint32_t generator = prepareNewGame();
    GameSession* fresh = newGameSession(switches[kLevelSwitch] == 1 ? 1 : 0);
    if (!fresh) return;

    gameEnded = 0;
    state = Playing;
    startFrames = 0;
    delete currentGame;
    currentGame = fresh;

    gamePhase = kPhaseRunning;
    vibrationEnabled = switches[kVibrateSwitch];
    musicTicks = kMusicRestartTicks;
    newGameBegins(generator);
    showGetReady();
    plat::startTimer(mainWindow, kGameTimerId, kGameTimerPeriodMs);
    render();
}

void ScreenController::startWatchedGame() {
    if (!replayWaitsToStart()) return;
    // From the main menu, as at start-up: a watched game sought back starts
    // again from wherever it was, its end screen too.
    state = MainMenu;
    cursor = 0;
    previousState = MainMenu;
    gameOverShown = 0;
    gamePhase = kPhaseIdle;
    vibrationRunning = 0;
    startNewGame();
}
