// Wave playback from the resources and the vibrator: the one reader of the
// wave format, and the blocking sound's wait, whatever the back end plays;
// silent and still while a replay is sought.
#include "platform/sound.h"

#include <algorithm>
#include <cstring>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/replay.h"
#include "platform/resources.h"

namespace plat {

bool playSound(const Char* name, uint32_t flags) {
    if (!name) {
        backend::stopSound();
        return true;
    }
    const ResourceData wave = findWave(name);
    if (!wave.data) return false;
    playWave(name, wave.data, wave.size, flags);
    return true;
}

void playWave(const Char* name, const uint8_t* file, size_t size, uint32_t flags) {
    const Wave wave = readWave(file, size);
    const bool blocking = (flags & kSoundAsync) == 0;
    // A seek runs silently (its waits are skipped too).
    if (!replay::seeking()) backend::startSound(name, wave, blocking);
    if (blocking && wave.durationMs) sleepMs(static_cast<uint32_t>(wave.durationMs));
}

Wave readWave(const uint8_t* file, size_t size) {
    Wave wave;
    if (!file || size < 12 || std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0) return wave;
    const auto half = [file](size_t at) { return static_cast<uint16_t>(file[at] | (file[at + 1] << 8)); };
    const auto word = [half](size_t at) { return half(at) | (static_cast<uint32_t>(half(at + 2)) << 16); };
    uint32_t bytesPerSecond = 0;
    bool pcm = false;
    size_t pos = 12;
    while (pos + 8 <= size) {
        const uint32_t chunkSize = word(pos + 4);
        const size_t body = pos + 8;
        if (std::memcmp(file + pos, "fmt ", 4) == 0 && body + 12 <= size) {
            bytesPerSecond = word(body + 8);
            pcm = body + 16 <= size && half(body) == 1;
            if (pcm) {
                wave.channels = half(body + 2);
                wave.rate = word(body + 4);
                wave.bits = half(body + 14);
            }
        } else if (std::memcmp(file + pos, "data", 4) == 0 && bytesPerSecond) {
            wave.durationMs = (static_cast<uint64_t>(chunkSize) * 1000 + bytesPerSecond - 1) / bytesPerSecond;
            const size_t frame = static_cast<size_t>(wave.bits / 8) * wave.channels;
            if (pcm && wave.rate && (wave.bits == 8 || wave.bits == 16) && frame) {
                const size_t present = std::min<size_t>(chunkSize, size - body);
                wave.bytes = present - present % frame;
                if (wave.bytes) wave.samples = file + body;
            }
            return wave;
        }
        if (chunkSize >= size - body) break;  // nothing after it
        pos = body + static_cast<size_t>(chunkSize) + (chunkSize & 1);
    }
    return wave;
}

void startVibration() {
    if (!replay::seeking()) backend::startVibration();
}

void stopVibration() { backend::stopVibration(); }

}  // namespace plat
