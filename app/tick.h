// The 50 ms game tick.
#pragma once

// Vibration countdown, keypad polling, the game step, the hunger clock, the
// music, and the end of a starved game, in that order.
void runTick();
