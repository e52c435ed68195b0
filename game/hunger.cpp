// The hunger rule run once a frame: an empty stomach shrinks the player one
// frame after it empties, and starves it at the smallest class.
#include "game/hunger.h"

#include "state/program_state.h"

void updateHunger(GameSession& game) {
    PlayerFish& player = *game.player;
    if (player.sizeClass == 1) hungerRate = 1;
    if (satiety == 0 && player.sizeClass > 1) {
        hungerRate -= 1;
        if (hungerRate < 1) hungerRate = 1;
        player.sizeClass -= 1;
        player.speed += 1;
        foodStore = 20;
        hungerClock = 0;
    }
    satiety = foodStore - hungerClock / hungerDivisor;
    if (satiety == 0 && player.sizeClass == 1) gamePhase = kPhaseStarved;
}
