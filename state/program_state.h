// The program-wide values that tie the tick, the game frame and the screen
// controller together, and the few objects the whole program shares. Every
// room may read them. All are zero at start unless said; a test that starts
// the program afresh puts them back with resetProgramValues (testing/).
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "platform/windowing.h"

struct GameSession;
struct SoundBank;

// The four best scores, slots 0..3 ("EEasyScores=" .. "PHardScores=").
struct ScoreTable {
    int32_t bestScores[4] = {0, 0, 0, 0};
};

// Game phases.
constexpr uint32_t kPhaseIdle = 0;     // no game running, or its end already handled
constexpr uint32_t kPhaseRunning = 1;
constexpr uint32_t kPhaseStarved = 3;

// The switches' places among the controller's flags (flags 3..5 are only
// kept and saved). The Options draft holds the first three.
constexpr int kVibrateSwitch = 0;
constexpr int kSoundSwitch = 1;
constexpr int kLevelSwitch = 2;  // on: new games are hard
constexpr int kDraftedSwitches = 3;

// The game timer.
constexpr uint32_t kGameTimerId = 100;
constexpr uint32_t kGameTimerPeriodMs = 50;

extern plat::Window* mainWindow;
extern plat::Char configPath[256];         // full path of "config.ini"
extern uint8_t firstPaintPending;          // 1 at start
extern uint8_t settingsRead;               // 1 once config.ini has been read (or tried)
extern uint32_t gamePhase;
extern int32_t startFrames;                // game frames drawn since New game, up to 60
extern uint8_t gameOverShown;              // an ended game's last frame is on screen; keys locked
extern uint8_t gameEnded;                  // a game has ended since the last New game
extern uint32_t musicTicks;                // played ticks since the music last started
extern uint32_t vibrating;                 // 1 while the death vibration runs
extern uint32_t vibrationTicks;
extern uint8_t vibrateEnabled;             // copy of the Vibrate flag for the game step
extern uint8_t optionsDraft[kDraftedSwitches];  // the Options screens' working copy of the switches

extern GameSession* currentGame;  // never null once the program has started
extern ScoreTable* scoreTable;     // made at window creation
extern SoundBank* soundBank;       // made at the first paint
