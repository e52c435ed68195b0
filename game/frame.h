// The game frame: one step of the game drawn to the screen, and the end of a
// starved game with its best-score message.
#pragma once

#include "game/session.h"
#include "platform/windowing.h"

// One step of the game and one full drawing of it to the screen.
void runGameFrame(GameSession& game, plat::Window* window);
// Best-score update and the game-over box.
void showGameOver(GameSession& game);

// Room for either game-over message with any two 32-bit numbers.
constexpr int kGameOverMessageSize = 96;
// Compares the score with the best score (slot 0; a tie is a new best),
// stores a new best and writes the matching game-over message.
void composeGameOverMessage(GameSession& game, plat::Char (&message)[kGameOverMessageSize]);
