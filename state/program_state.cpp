// Storage of the program-wide values.
#include "state/program_state.h"

plat::Window* mainWindow = nullptr;
plat::Char configPath[256] = {};
uint8_t firstPaintPending = 1;
uint8_t settingsRead = 0;
uint32_t gamePhase = 0;
int32_t startFrames = 0;
uint8_t gameOverShown = 0;
uint8_t gameEnded = 0;
uint32_t musicTicks = 0;
uint32_t vibrating = 0;
uint32_t vibrationTicks = 0;
uint8_t vibrateEnabled = 0;
uint8_t optionsDraft[kDraftedSwitches] = {};

GameSession* currentGame = nullptr;
ScoreTable* scoreTable = nullptr;
SoundBank* soundBank = nullptr;
