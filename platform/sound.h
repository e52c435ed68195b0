// Wave playback and the vibrator. One sound plays at a time: starting one ends
// the one playing. Sounds are wave resources inside the executable.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/types.h"

namespace plat {

// playSound flags, the handset's values.
constexpr uint32_t kSoundSync = 0x0000;
constexpr uint32_t kSoundAsync = 0x0001;
constexpr uint32_t kSoundNoDefault = 0x0002;
constexpr uint32_t kSoundResource = 0x00040004;

// Plays the wave resource `name` (asynchronously with kSoundAsync, else until
// its end); a null name stops whatever plays. False when nothing was played.
bool playSound(const Char* name, uint32_t flags);

// Playing time of a whole RIFF WAVE file in ms, rounded up; 0 when it is not one.
uint64_t waveDurationMs(const uint8_t* wave, size_t size);

void startVibration();
void stopVibration();

}  // namespace plat
