// Drawing of the game scene into the frame surface: background, bubbles,
// school, player, rising skeletons, the copy to the screen and the game-over
// box. The bubbles and the eaten and death animations live here too.
#include "game/scene.h"

#include "media/drawing_objects.h"
#include "media/surfaces.h"
#include "platform/drawing.h"
#include "platform/random.h"

namespace {

// Draws half a fish strip (or any sprite) from the sprite-like surface
// `source` onto the frame, white being see-through. The renderer clips the
// copy to the bitmap, which matters where a bitmap is narrower than its table.
void drawSprite(const plat::Surface* source, int32_t x, int32_t y, int32_t width, int32_t height, int32_t sourceX) {
    plat::transparentCopy(surfaces.frameSurface, x, y, width, height, source, sourceX, 0, plat::kWhite);
}

// The half of a strip that shows the fish facing its way: the left half faces right.
int32_t halfFor(int32_t facingRight, int32_t stripWidth) { return facingRight == 1 ? 0 : stripWidth / 2; }

void selectSprite(plat::Bitmap* bitmap) { plat::selectBitmap(surfaces.spriteSurface, bitmap); }

}  // namespace

void drawBackground() {
    if (!surfaces.created) return;
    plat::blockCopy(surfaces.frameSurface, 0, 0, plat::kScreenWidth, plat::kScreenHeight, surfaces.backgroundSurface,
                    0, 0);
}

void drawBubbles(GameSession& game) {
    if (surfaces.created) selectSprite(surfaces.bubbleBitmap);
    for (int32_t i = 0; i < game.bubbleCount; ++i) {
        if (surfaces.created) {
            drawSprite(surfaces.spriteSurface, game.bubbleX[i], game.bubbleY[i], 7, 8, game.bubbleFrame);
        }
        game.bubbleY[i] -= 5;
        if (game.bubbleY[i] < -20) {
            // A new group of one to three bubbles starts near the bottom.
            game.bubbleCount = plat::rand() % 3 + 1;
            for (int32_t j = 0; j < game.bubbleCount; ++j) {
                game.bubbleX[j] = plat::rand() % 180;
                game.bubbleY[j] = plat::rand() % 60 + 160;
                game.bubbleFrame = 7 * (plat::rand() % 3);
            }
        }
    }
}

void drawSchoolFish(SchoolFish& fish) {
    if (!fish.alive) {
        // Just eaten: its skeleton starts where it was, and the fish is parked.
        fish.alive = 1;
        fish.eatenX = fish.x;
        fish.eatenY = fish.y;
        fish.eatenAnim = 1;
        fish.x = -100;
        fish.y = -100;
    }
    if (fish.eatenAnim || !surfaces.created) return;
    const bool visible = fish.direction == 1 ? fish.x + fish.stripWidth / 2 > 0 : fish.x < 175;
    if (!visible) return;
    if (fish.sizeClass < 0 || fish.sizeClass > 4) return;
    drawSprite(surfaces.schoolSurfaces[fish.sizeClass], fish.x, fish.y, fish.stripWidth / 2, fish.stripHeight,
               halfFor(fish.direction, fish.stripWidth));
}

void drawPlayer(PlayerFish& player) {
    if (!player.alive) {
        // Just eaten: the skeleton starts here and the fish leaves the water.
        player.dying = 1;
        player.deathX = player.x;
        player.deathY = player.y;
        player.alive = 1;
        player.y = -100;
    }
    if (!surfaces.created) return;
    selectSprite(surfaces.playerBitmaps[player.sizeClass]);
    if (!player.dying) {
        const int32_t width = player.stripWidth[player.sizeClass];
        drawSprite(surfaces.spriteSurface, player.x, player.y, width / 2, player.stripHeight[player.sizeClass],
                   halfFor(player.facing, width));
    }
}

void drawDeath(PlayerFish& player) {
    if (surfaces.created) {
        // Cut with the player's sizes, even where the skeleton bitmap is narrower.
        selectSprite(surfaces.skeletonBitmaps[player.sizeClass]);
        const int32_t width = player.stripWidth[player.sizeClass];
        drawSprite(surfaces.spriteSurface, player.deathX, player.deathY, width / 2,
                   player.stripHeight[player.sizeClass], halfFor(player.facing, width));
    }
    player.deathY -= 4;
    if (player.deathY < -65) {
        player.dying = 0;
        player.y = 25;
    }
}

void drawEaten(SchoolFish& fish) {
    if (surfaces.created && fish.eatenSizeClass >= 0 && fish.eatenSizeClass <= 4) {
        selectSprite(surfaces.skeletonBitmaps[fish.eatenSizeClass]);
        drawSprite(surfaces.spriteSurface, fish.eatenX, fish.eatenY, fish.eatenStripWidth / 2, fish.eatenStripHeight,
                   halfFor(fish.eatenDirection, fish.eatenStripWidth));
    }
    fish.eatenY -= 4;
    if (fish.eatenY < -60) {
        fish.eatenAnim = 0;
        // Back just outside the edge it swims in from, with its current class.
        const int32_t r1 = plat::rand();
        const int32_t r2 = plat::rand();
        setSchoolFish(fish, fish.sizeClass, r2 % 2, -40, r1 % 140 + 25, 5 - fish.sizeClass);
        if (fish.sizeClass == 0) fish.speed = 4;
        fish.x = fish.direction == 1 ? 10 - fish.stripWidth : fish.stripWidth + 200;
    }
}

void copyFrameToScreen() {
    if (!surfaces.created) return;
    plat::blockCopy(surfaces.screen, 0, 0, plat::kScreenWidth, plat::kScreenHeight, surfaces.frameSurface, 0, 0);
}

void drawGameOverBox(const plat::Char* message) {
    if (!surfaces.created) return;
    plat::Surface* screen = surfaces.screen;
    drawMessageBox(screen, drawing.blackPen, plat::Rect{20, 80, 157, 140}, message, plat::Rect{20, 85, 157, 145},
                   plat::kTextCentre | plat::kTextWordBreak);
    // The screen's text colours as the menus expect to find them.
    plat::setBackgroundColour(screen, plat::kWhite);
    plat::setTextColour(screen, plat::kBlue);
}

void drawMenuCaption() {
    if (!surfaces.created) return;
    plat::blockCopy(surfaces.screen, 0, 198, 89, 22, surfaces.captionSurface, 0, 0);
}
