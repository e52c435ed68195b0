// The game tick: every 50 ms while the window has the focus. Movement is
// polled from the key state, so a held key moves the fish every tick without
// waiting for key repeat.
#include "app/tick.h"

#include "game/frame.h"
#include "game/session.h"
#include "media/sound_bank.h"
#include "platform/sound.h"
#include "platform/windowing.h"
#include "screens/controller.h"
#include "screens/game_replays.h"
#include "state/program_state.h"

namespace {

constexpr uint32_t kVibrationTicks = 5;
constexpr uint32_t kMusicRestartTicks = 180;

bool held(uint32_t key) { return plat::asyncKeyState(key) == plat::kKeyHeld; }

void pollKeys(PlayerFish& player) {
    // Arrows: the first held one only, in the order left, right, up, down.
    if (held(plat::kKeyLeft)) {
        player.moveLeft();
    } else if (held(plat::kKeyRight)) {
        player.moveRight();
    } else if (held(plat::kKeyUp)) {
        player.moveUp();
    } else if (held(plat::kKeyDown)) {
        player.moveDown();
    }
    // Digits: every held one, read all four first.
    const bool two = held('2');
    const bool eight = held('8');
    const bool four = held('4');
    const bool six = held('6');
    if (two) player.moveUp();
    if (eight) player.moveDown();
    if (four) player.moveLeft();
    if (six) player.moveRight();
}

}  // namespace

void runTick() {
    vibrateEnabled = screenController.flags[kVibrateSwitch];

    if (vibrating == 1) ++vibrationTicks;
    if (vibrationTicks == kVibrationTicks) {
        vibrationTicks = 0;
        vibrating = 0;
        plat::stopVibration();
    }

    if (gameOverShown == 0 && currentGame && currentGame->player) pollKeys(*currentGame->player);

    if (screenController.state == Playing && currentGame) {
        runGameFrame(*currentGame, mainWindow);
        hungerClock += hungerRate;
        if (screenController.flags[kSoundSwitch] == 1) {
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
        if (screenController.flags[kSoundSwitch] == 1 && soundBank) soundBank->playBlocking(0);
        gameEnds(plat::replay::Ending::Starved);
    }
}
