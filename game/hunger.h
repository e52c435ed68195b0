// The hunger rule run once a frame.
#pragma once

#include "game/session.h"

// Shrinking, satiety, starvation.
void updateHunger(GameSession& game);
