// The game's two sounds, by slot: 0 the music "FLARE", 10 the key click "DEF".
#pragma once

#include <cstdint>

#include "platform/types.h"

struct SoundBank {
    plat::Char soundNames[20][260] = {};

    SoundBank();
    // Slot 0..9: starts it without waiting and returns 1; 10 or more: 0.
    int32_t play(int32_t slot);
    void stop();
    // Plays slot n + 10 to its end; returns 1.
    int32_t playBlocking(int32_t n);
};

// Creates the bank, or null when it cannot be had (never throws).
SoundBank* newSoundBank();
