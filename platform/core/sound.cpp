// Wave playback from the resources and the vibrator, handed to the back end.
#include "platform/sound.h"

#include <cstring>

#include "platform/backend.h"
#include "platform/resources.h"

namespace plat {

bool playSound(const Char* name, uint32_t flags) {
    if (!name) {
        backend::playWave(nullptr, nullptr, 0, false);
        return true;
    }
    const ResourceData wave = findWave(name);
    if (!wave.data) return false;
    backend::playWave(name, wave.data, wave.size, (flags & kSoundAsync) == 0);
    return true;
}

uint64_t waveDurationMs(const uint8_t* wave, size_t size) {
    if (!wave || size < 12 || std::memcmp(wave, "RIFF", 4) != 0 || std::memcmp(wave + 8, "WAVE", 4) != 0) return 0;
    const auto word = [wave](size_t at) {
        return wave[at] | (wave[at + 1] << 8) | (wave[at + 2] << 16) | (static_cast<uint32_t>(wave[at + 3]) << 24);
    };
    uint32_t bytesPerSecond = 0;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint32_t chunkSize = word(pos + 4);
        if (std::memcmp(wave + pos, "fmt ", 4) == 0 && pos + 20 <= size) {
            bytesPerSecond = word(pos + 16);
        } else if (std::memcmp(wave + pos, "data", 4) == 0 && bytesPerSecond) {
            return (static_cast<uint64_t>(chunkSize) * 1000 + bytesPerSecond - 1) / bytesPerSecond;
        }
        pos += 8 + static_cast<size_t>(chunkSize) + (chunkSize & 1);
    }
    return 0;
}

void startVibration() { backend::startVibration(); }

void stopVibration() { backend::stopVibration(); }

}  // namespace plat
