// The HUD band under the water: the score and the hunger bar.
#pragma once

#include <cstdint>

#include "game/session.h"
#include "platform/types.h"

void drawHud(const GameSession& game);

// The HUD's score text: "%3d", widened.
void formatScore(int32_t score, plat::Char (&text)[16]);
