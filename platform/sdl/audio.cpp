// Wave sounds through an SDL audio device opened in the wave's own format
// (SDL converts for the hardware): starting one replaces the one playing, and
// a device that cannot be opened means silence. The handset layer reads the
// wave and does a blocking sound's waiting.
#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

AudioOut& audio() { return backendData().audio; }

bool sameFormat(const SDL_AudioSpec& a, const SDL_AudioSpec& b) {
    return a.freq == b.freq && a.format == b.format && a.channels == b.channels;
}

bool openFor(const SDL_AudioSpec& format) {
    AudioOut& a = audio();
    if (a.unavailable) return false;
    if (a.device && sameFormat(a.audioFormat, format)) return true;
    if (a.device) SDL_CloseAudioDevice(a.device);
    a.device = 0;
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        a.unavailable = true;
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = format.freq;
    wanted.format = format.format;
    wanted.channels = format.channels;
    wanted.samples = 512;
    a.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (!a.device) {
        a.unavailable = true;
        return false;
    }
    a.audioFormat = wanted;
    return true;
}

}  // namespace

void playSamples(const Wave& wave) {
    stopSound();
    if (!wave.samples) return;
    SDL_AudioSpec format{};
    format.freq = static_cast<int>(wave.rate);
    format.format = wave.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    format.channels = static_cast<Uint8>(wave.channels);
    if (!openFor(format)) return;
    AudioOut& a = audio();
    SDL_QueueAudio(a.device, wave.samples, static_cast<Uint32>(wave.bytes));
    SDL_PauseAudioDevice(a.device, 0);
}

void stopSound() {
    AudioOut& a = audio();
    if (a.device) SDL_ClearQueuedAudio(a.device);
}

void closeAudio() {
    AudioOut& a = audio();
    if (a.device) SDL_CloseAudioDevice(a.device);
    a.device = 0;
    a.unavailable = false;  // a later start tries again
    if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace plat::sdl
