// The game's two sounds by slot, played through the platform: the music
// without waiting, the key click to its end.
#include "media/sound_bank.h"

#include <new>

#include "platform/sound.h"

namespace {

// Resource, asynchronous / resource, synchronous: the handset's flag words.
constexpr uint32_t kPlayWithoutWaiting = plat::kSoundResource | plat::kSoundAsync;  // 0x00040005
constexpr uint32_t kPlayToTheEnd = plat::kSoundResource | plat::kSoundSync;         // 0x00040004

void copyName(plat::Char* slot, const char* name) {
    int i = 0;
    for (; name[i] != '\0'; ++i) slot[i] = static_cast<plat::Char>(name[i]);
    slot[i] = 0;
}

}  // namespace

SoundBank::SoundBank() {
    copyName(soundNames[0], "FLARE");
    copyName(soundNames[10], "DEF");
}

int32_t SoundBank::play(int32_t slot) {
    // Only the waiting-free slots 0..9 play here; a negative slot names nothing.
    if (slot < 0 || slot >= 10) return 0;
    plat::playSound(soundNames[slot], kPlayWithoutWaiting);
    return 1;
}

void SoundBank::stop() { plat::playSound(nullptr, kPlayWithoutWaiting); }

int32_t SoundBank::playBlocking(int32_t n) {
    if (n < 0 || n >= 10) return 0;
    plat::playSound(soundNames[n + 10], kPlayToTheEnd);
    return 1;
}

SoundBank* newSoundBank() { return new (std::nothrow) SoundBank; }
