// The game tick: every 50 ms while the window has the focus. Movement is
// polled from the key state, so a held key moves the fish every tick without
// waiting for key repeat.
#include "app/tick.h"

#include "game/frame.h"
#include "game/session.h"
#include "media/sound_bank.h"
#include "platform/game_tick.h"
#include "platform/sound.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "state/program_state.h"

namespace {

// The move of each polled key, in the list's order (platform/game_tick.h):
// the arrows, then 2, 8, 4, 6.
using Move = void (*)(PlayerFish&);
constexpr Move kLeft = [](PlayerFish& p) { p.moveLeft(); };
constexpr Move kRight = [](PlayerFish& p) { p.moveRight(); };
constexpr Move kUp = [](PlayerFish& p) { p.moveUp(); };
constexpr Move kDown = [](PlayerFish& p) { p.moveDown(); };
constexpr Move kMoves[] = {kLeft, kRight, kUp, kDown, kUp, kDown, kLeft, kRight};
static_assert(sizeof kMoves / sizeof kMoves[0] == plat::kPolledKeyCount, "a move for every polled key");

bool held(uint32_t key) { return plat::asyncKeyState(key) == plat::kKeyHeld; }

void pollKeys(PlayerFish& player) {
    // Arrows: the first held one only, in the list's order.
    for (int i = 0; i < plat::kFirstEveryKey; ++i) {
        if (held(plat::kPolledKeys[i])) {
            kMoves[i](player);
            break;
        }
    }
    // Digits: every held one, all read first.
    bool down[plat::kPolledKeyCount] = {};
    for (int i = plat::kFirstEveryKey; i < plat::kPolledKeyCount; ++i) down[i] = held(plat::kPolledKeys[i]);
    for (int i = plat::kFirstEveryKey; i < plat::kPolledKeyCount; ++i) {
        if (down[i]) kMoves[i](player);
    }
}

}  // namespace

void runTick() {
    vibrationEnabled = screenController.switches[kVibrateSwitch];

    if (vibrationRunning == 1) ++vibrationTicks;
    if (vibrationTicks == plat::kVibrationLength) {
        vibrationTicks = 0;
        vibrationRunning = 0;
        plat::stopVibration();
    }

    if (gameOverShown == 0 && currentGame && currentGame->player) pollKeys(*currentGame->player);

    if (screenController.state == Playing && currentGame) {
        runGameFrame(*currentGame, mainWindow);
        hungerClock += hungerRate;
        if (screenController.switches[kSoundSwitch] == 1) {
            if (musicTicks == kMusicRestartTicks) {
                if (soundBank) soundBank->play(0);
                musicTicks = 0;
            }
            ++musicTicks;
        }
    }

    if (gamePhase == kPhaseStarved) {
        plat::stopTimer(mainWindow, kGameTimerId);
        gameOverShown = 1;
        gamePhase = kPhaseIdle;
        gameEnded = 1;
        if (screenController.switches[kSoundSwitch] == 1 && soundBank) soundBank->playBlocking(0);
        gameEnds(plat::replay::Ending::Starved);
    }
}
