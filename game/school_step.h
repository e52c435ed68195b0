// The school's step: the fish swim and meet the player.
#pragma once

#include "game/session.h"

// Moves the school and tests every fish against the player.
void stepSchool(GameSession& game);
