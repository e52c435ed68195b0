// Where the game says a game begins and ends, for its replay, and how a
// watched game starts from the replay's header instead of the player's settings.
#pragma once

#include <cstdint>

#include "platform/replay.h"

// A game ends (starved, left for a new one, Exit, the window closed): its
// recording is kept, or the watched game stops there. True while a replay is
// watched: the caller then does nothing more (no new game, no save, no quit).
bool gameEnds(plat::replay::Ending ending);
// Just before New game makes its session: a watched game takes the replay's
// switches, best scores and generator. Returns the generator's state.
uint32_t prepareNewGame();
// New game made its session: recording (or the watched input) starts here.
void newGameBegins(uint32_t generator);
// At start-up: replays count the fish with the current game's score.
void connectGameToReplays();
// The program runs to show a replay, not to be played: nothing of the
// player's is read, saved or published.
bool watchingReplay();
// A replay to watch waits for its game to start.
bool replayWaitsToStart();
