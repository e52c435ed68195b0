// The program-wide values that tie the tick, the game frame and the screen
// controller together, and the few objects the whole program shares. Every
// room may read them.
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

// The game music starts again after this many played ticks (and at once
// when a game starts or resumes).
constexpr uint32_t kMusicRestartTicks = 180;

// Every program-wide value in one record: a fresh program is one assignment
// (programValues = {}, as testing/ does). The game reads and writes each by
// its own name, a reference into the record.
struct ProgramValues {
    plat::Window* mainWindow = nullptr;
    plat::Char configPath[256] = {};       // full path of "config.ini"
    uint8_t firstPaintPending = 1;
    uint8_t settingsRead = 0;              // 1 once config.ini has been read (or tried)
    uint32_t gamePhase = kPhaseIdle;
    int32_t startFrames = 0;               // game frames drawn since New game, up to 60
    uint8_t gameOverShown = 0;             // an ended game's last frame is on screen; keys locked
    uint8_t gameEnded = 0;                 // a game has ended since the last New game
    uint32_t musicTicks = 0;               // played ticks since the music last started
    uint32_t vibrationRunning = 0;                // 1 while the death vibration runs
    uint32_t vibrationTicks = 0;
    uint8_t vibrationEnabled = 0;            // copy of the Vibrate flag for the game step
    uint8_t optionsDraft[kDraftedSwitches] = {};  // the Options screens' working copy of the switches
    int chosenLevel = -1;                  // from the command line: 0 easy, 1 hard; -1: as config.ini says

    // The hunger values: one set for the program, reset by each new game.
    int32_t satiety = 0;
    int32_t foodStore = 0;
    int32_t hungerClock = 0;
    int32_t hungerDivisor = 15;
    int32_t hungerRate = 1;

    GameSession* currentGame = nullptr;  // never null once the program has started
    ScoreTable* scoreTable = nullptr;    // made at window creation
    SoundBank* soundBank = nullptr;      // made at the first paint
};
extern ProgramValues programValues;

inline plat::Window*& mainWindow = programValues.mainWindow;
inline plat::Char (&configPath)[256] = programValues.configPath;
inline uint8_t& firstPaintPending = programValues.firstPaintPending;
inline uint8_t& settingsRead = programValues.settingsRead;
inline uint32_t& gamePhase = programValues.gamePhase;
inline int32_t& startFrames = programValues.startFrames;
inline uint8_t& gameOverShown = programValues.gameOverShown;
inline uint8_t& gameEnded = programValues.gameEnded;
inline uint32_t& musicTicks = programValues.musicTicks;
inline uint32_t& vibrationRunning = programValues.vibrationRunning;
inline uint32_t& vibrationTicks = programValues.vibrationTicks;
inline uint8_t& vibrationEnabled = programValues.vibrationEnabled;
inline uint8_t (&optionsDraft)[kDraftedSwitches] = programValues.optionsDraft;
inline int& chosenLevel = programValues.chosenLevel;
inline int32_t& satiety = programValues.satiety;
inline int32_t& foodStore = programValues.foodStore;
inline int32_t& hungerClock = programValues.hungerClock;
inline int32_t& hungerDivisor = programValues.hungerDivisor;
inline int32_t& hungerRate = programValues.hungerRate;
inline GameSession*& currentGame = programValues.currentGame;
inline ScoreTable*& scoreTable = programValues.scoreTable;
inline SoundBank*& soundBank = programValues.soundBank;
