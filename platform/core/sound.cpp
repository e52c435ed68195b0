// Wave playback from the resources and the vibrator, handed to the back end.
#include "platform/sound.h"

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

void startVibration() { backend::startVibration(); }

void stopVibration() { backend::stopVibration(); }

}  // namespace plat
