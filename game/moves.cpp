// The player's four moves, each clamped to the water between the HUD band
// and the soft-key captions.
#include "game/session.h"
#include "platform/types.h"

void PlayerFish::moveLeft() {
    if (dying) return;
    facing = 0;
    x -= speed;
    if (x < 0) x = 0;
}

void PlayerFish::moveRight() {
    if (dying) return;
    facing = 1;
    x += speed;
    const int32_t rightmost = 175 - stripWidth[sizeClass] / 2;
    if (x > rightmost) x = rightmost;
}

void PlayerFish::moveUp() {
    if (dying) return;
    y -= speed;
    if (y < 21) y = 21;  // just below the 20-pixel HUD band
}

void PlayerFish::moveDown() {
    if (dying) return;
    y += speed;
    const int32_t lowest = plat::kCaptionTop - stripHeight[sizeClass];  // just above the soft-key captions
    if (y > lowest) y = lowest;
}
