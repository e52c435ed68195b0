// Drawing of the game scene into the frame surface, and the little pieces of
// game state that belong to the picture (bubbles, eaten and death animations).
#pragma once

#include "game/session.h"
#include "platform/types.h"

void drawBackground();
void drawBubbles(GameSession& game);
void drawSchoolFish(SchoolFish& fish);
void drawPlayer(PlayerFish& player);
void drawDeath(PlayerFish& player);
void drawEaten(SchoolFish& fish);
void copyFrameToScreen();
void drawGameOverBox(const plat::Char* message);
// The MENU caption over the soft-key row of the screen, once a game has ended.
void drawMenuCaption();
