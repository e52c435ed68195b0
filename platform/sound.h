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

// Plays a whole RIFF WAVE file as playSound plays a resource. Without
// kSoundAsync the program is blocked for the wave's length on every edition,
// whether or not a device plays it.
void playWave(const Char* name, const uint8_t* file, size_t size, uint32_t flags);

// A RIFF WAVE file as the handset layer reads it, once for every back end.
struct Wave {
    uint64_t durationMs = 0;           // playing time as the file states it, rounded up; 0: not a wave
    const uint8_t* samples = nullptr;  // inside the file; null when there is no PCM a device can play
    size_t bytes = 0;                  // whole frames only
    uint16_t channels = 0;             // interleaved
    uint32_t rate = 0;                 // frames per second
    uint16_t bits = 0;                 // 8 (unsigned) or 16 (signed, little-endian)
};
Wave readWave(const uint8_t* file, size_t size);

void startVibration();
void stopVibration();

}  // namespace plat
