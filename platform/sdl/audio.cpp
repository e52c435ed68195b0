// Wave sounds through an SDL audio device opened in the wave's own format
// (SDL converts for the hardware): starting one replaces the one playing, the
// waiting mode keeps the window alive until the sound has played, and a
// device that cannot be opened means silence.
#include "platform/backend.h"
#include "platform/sdl/sdl_internal.h"

namespace plat::sdl {
namespace {

AudioOut& audio() { return backendData().audio; }

const DecodedWave* decode(const uint8_t* wave, size_t size) {
    AudioOut& a = audio();
    for (const DecodedWave& d : a.waves) {
        if (d.file == wave) return &d;
    }
    DecodedWave d;
    d.file = wave;
    SDL_RWops* stream = SDL_RWFromConstMem(wave, static_cast<int>(size));
    if (!stream || !SDL_LoadWAV_RW(stream, 1, &d.audioFormat, &d.samples, &d.length)) return nullptr;
    a.waves.push_back(d);
    return &a.waves.back();
}

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

uint64_t durationMs(const DecodedWave& d) {
    const uint64_t bytesPerSecond =
        static_cast<uint64_t>(d.audioFormat.freq) * d.audioFormat.channels * (SDL_AUDIO_BITSIZE(d.audioFormat.format) / 8);
    return bytesPerSecond ? (static_cast<uint64_t>(d.length) * 1000 + bytesPerSecond - 1) / bytesPerSecond : 0;
}

}  // namespace

void playWaveFile(const uint8_t* wave, size_t size, bool wait) {
    const DecodedWave* d = decode(wave, size);
    if (!d || !openFor(d->audioFormat)) return;
    AudioOut& a = audio();
    SDL_ClearQueuedAudio(a.device);
    SDL_QueueAudio(a.device, d->samples, d->length);
    SDL_PauseAudioDevice(a.device, 0);
    if (!wait) return;
    // Play to the end, the window staying alive: input is collected for later.
    const ProgramBusy busy;
    const uint64_t end = backend::now() + durationMs(*d);
    while (backend::now() < end && !ending()) waitEvents(end);
    // The device may still hold the last samples of the queue.
    const uint64_t latest = backend::now() + 250;
    while (SDL_GetQueuedAudioSize(a.device) > 0 && backend::now() < latest && !ending()) waitEvents(backend::now() + 5);
}

void stopSound() {
    AudioOut& a = audio();
    if (a.device) SDL_ClearQueuedAudio(a.device);
}

void closeAudio() {
    AudioOut& a = audio();
    if (a.device) SDL_CloseAudioDevice(a.device);
    a.device = 0;
    for (DecodedWave& d : a.waves) SDL_FreeWAV(d.samples);
    a.waves.clear();
    a.unavailable = false;  // a later start tries again
    if (SDL_WasInit(SDL_INIT_AUDIO)) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace plat::sdl
