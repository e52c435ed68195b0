// Storage of the program-wide values.
#include "app/globals.h"

#include <cstring>

plat::Window* mainWindow = nullptr;
plat::Char configPath[256] = {};
uint8_t firstPaintPending = 1;
uint32_t gamePhase = 0;
int32_t startFrames = 0;
uint8_t gameOverShown = 0;
uint8_t gameEnded = 0;
uint32_t musicTicks = 0;
uint32_t vibrating = 0;
uint32_t vibrationTicks = 0;
uint8_t vibrateEnabled = 0;
uint8_t optionsDraft[3] = {0, 0, 0};

GameSession* currentGame = nullptr;
ScoreTable* scoreTable = nullptr;
SoundBank* soundBank = nullptr;

void resetProgramValues() {
    mainWindow = nullptr;
    std::memset(configPath, 0, sizeof configPath);
    firstPaintPending = 1;
    gamePhase = 0;
    startFrames = 0;
    gameOverShown = 0;
    gameEnded = 0;
    musicTicks = 0;
    vibrating = 0;
    vibrationTicks = 0;
    vibrateEnabled = 0;
    std::memset(optionsDraft, 0, sizeof optionsDraft);
}
