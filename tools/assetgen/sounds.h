// The game's two sounds, synthesised: the background music "FLARE" and the
// key click "DEF", as 8-bit unsigned mono samples at 11025 Hz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace art {

constexpr int kSampleRate = 11025;
constexpr size_t kMusicBytes = 144576;
constexpr size_t kClickBytes = 1652;

std::vector<uint8_t> synthesiseMusic();
std::vector<uint8_t> synthesiseClick();
// A canonical 44-byte RIFF WAVE header (PCM, mono, 8-bit) before the samples.
std::vector<uint8_t> waveFile(const std::vector<uint8_t>& samples);

}  // namespace art
