// The music "FLARE" (a bouncy eight-bar tune in C major: a pulse-wave
// melody with a little echo, a triangle bass and light drums, in the manner
// of a 2002 phone game) and the key click "DEF", synthesised from the score
// and envelopes below.
#include "tools/assetgen/sounds.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

namespace art {
namespace {

constexpr double kPi = 3.14159265358979323846;

// ---- The score ---------------------------------------------------------------
// One token per eighth note: a note name with its octave ("C5", "F#4"), "-" to
// hold the note before, "." for a rest. Eight eighths to a bar, eight bars.
// At 2259 samples per eighth (about 146 beats a minute) the eight bars fill
// the wave exactly.
constexpr int kStepSamples = 2259;
constexpr int kSteps = 64;
static_assert(kStepSamples * kSteps == 144576, "the score fills the wave exactly");

//                    C                     Am                    F                     G
const char* const kMelody =
    "E5 G5 -  E5 C6 -  G5 -   A5 -  E5 -  C5 E5 A5 -   F5 A5 -  F5 C6 -  A5 -   G5 -  D5 -  B4 D5 G5 - "
//   C                     Am                    Dm       G            C        G
    "E5 G5 -  E5 C6 -  E6 -   D6 C6 -  A5 E5 -  A5 C6  D6 -  A5 F5 B5 -  G5 D5  C6 -  G5 E5 D5 -  G5 - ";
const char* const kBass =
    "C3 -  C4 C3 G2 -  C4 G2  A2 -  A3 A2 E3 -  A3 E3  F2 -  F3 F2 C3 -  F3 C3  G2 -  G3 G2 D3 -  G3 D3 "
    "C3 -  C4 C3 G2 -  C4 G2  A2 -  A3 A2 E3 -  A3 E3  D3 -  D4 D3 G2 -  G3 G2  C3 -  C4 C3 G2 -  B2 D3 ";
// K kick, S snare, H hat, "." nothing.
const char* const kDrums =
    "K . H . S . H H  K . H . S . H K  K . H . S . H H  K . H . S . H K "
    "K . H . S . H H  K . H . S . H K  K . H . S . H H  K . H K S S S S ";

struct Note {
    double frequency;
    int startStep;
    int steps;
};

double noteFrequency(const std::string& name) {
    static const char* const names[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    const std::string pitch = name.substr(0, name.size() - 1);
    const int octave = name.back() - '0';
    int semitone = 0;
    for (int i = 0; i < 12; ++i)
        if (pitch == names[i]) semitone = i;
    const int midi = 12 * (octave + 1) + semitone;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

std::vector<Note> parseVoice(const char* score) {
    std::vector<Note> notes;
    std::istringstream in(score);
    std::string token;
    int step = 0;
    while (in >> token) {
        if (token == "-") {
            if (!notes.empty() && notes.back().startStep + notes.back().steps == step) ++notes.back().steps;
        } else if (token != ".") {
            notes.push_back({noteFrequency(token), step, 1});
        }
        ++step;
    }
    return notes;
}

std::vector<char> parseDrums(const char* score) {
    std::vector<char> hits;
    for (const char* p = score; *p; ++p)
        if (*p != ' ') hits.push_back(*p);
    return hits;
}

// ---- Instruments ---------------------------------------------------------------

// The band-limiting correction of a step in a naive waveform (polyBLEP).
double polyBlep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// Attack, decay to a sustain level, and a release at the note's end, so
// every note starts and stops at silence.
double envelope(int i, int length, double attack, double decay, double sustain, double release) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double left = static_cast<double>(length - i) / kSampleRate;
    double level = t < attack ? t / attack : sustain + (1 - sustain) * std::exp(-(t - attack) / decay);
    if (left < release) level *= std::max(0.0, left / release);
    return level;
}

void addPulseVoice(std::vector<double>& mixBus, const std::vector<Note>& notes, double volume, int delay) {
    for (const Note& n : notes) {
        const int start = n.startStep * kStepSamples + delay;
        const int length = n.steps * kStepSamples;
        const double duty = 0.25;
        double phase = 0;
        for (int i = 0; i < length && start + i < static_cast<int>(mixBus.size()); ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            // A gentle vibrato on the longer notes, after they have settled.
            const double vibrato = n.steps >= 2 && t > 0.15 ? 1.0 + 0.004 * std::sin(2 * kPi * 5.5 * (t - 0.15)) : 1.0;
            const double dt = n.frequency * vibrato / kSampleRate;
            double s = (phase < duty ? 1.0 : -1.0);
            s += polyBlep(phase, dt);
            double shifted = phase - duty;
            if (shifted < 0) shifted += 1.0;
            s -= polyBlep(shifted, dt);
            s -= 2 * duty - 1;  // remove the pulse's offset
            mixBus[start + i] += volume * s * envelope(i, length, 0.004, 0.12, 0.6, 0.02);
            phase += dt;
            if (phase >= 1.0) phase -= 1.0;
        }
    }
}

void addTriangleVoice(std::vector<double>& mixBus, const std::vector<Note>& notes, double volume) {
    for (const Note& n : notes) {
        const int start = n.startStep * kStepSamples;
        const int length = n.steps * kStepSamples;
        double phase = 0;
        for (int i = 0; i < length; ++i) {
            const double s = phase < 0.5 ? 4 * phase - 1 : 3 - 4 * phase;
            mixBus[start + i] += volume * s * envelope(i, length, 0.003, 0.25, 0.75, 0.015);
            phase += n.frequency / kSampleRate;
            if (phase >= 1.0) phase -= 1.0;
        }
    }
}

// The drums' noise: a small linear congruential generator, fixed seed.
struct NoiseSource {
    uint32_t state = 2002;
    double next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }
};

void addDrums(std::vector<double>& mixBus, const std::vector<char>& hits) {
    NoiseSource noise;
    for (int step = 0; step < static_cast<int>(hits.size()); ++step) {
        const int start = step * kStepSamples;
        const char hit = hits[step];
        if (hit == '.') continue;
        double previous = 0, phase = 0;
        for (int i = 0; i < kStepSamples; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            const double fadeIn = std::min(1.0, i / 8.0);
            const double fadeOut = std::min(1.0, (kStepSamples - i) / 64.0);
            double s = 0;
            if (hit == 'K') {
                // A sine whose pitch falls from 150 Hz to 50 Hz.
                const double f = 50 + 100 * std::exp(-t / 0.03);
                phase += f / kSampleRate;
                s = 0.38 * std::sin(2 * kPi * phase) * std::exp(-t / 0.07);
            } else if (hit == 'S') {
                const double n = noise.next();
                phase += 185.0 / kSampleRate;
                s = (0.16 * n + 0.08 * std::sin(2 * kPi * phase)) * std::exp(-t / 0.06);
            } else if (hit == 'H') {
                const double n = noise.next();
                s = 0.07 * (n - previous) * std::exp(-t / 0.018);  // the difference keeps only the hiss
                previous = n;
            }
            mixBus[start + i] += s * fadeIn * fadeOut;
        }
    }
}

uint8_t toUnsigned8(double v) {
    const double clipped = std::clamp(v, -1.0, 1.0);
    return static_cast<uint8_t>(128 + std::lround(clipped * 112));
}

void putLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> synthesiseMusic() {
    std::vector<double> mixBus(kMusicBytes, 0.0);
    const std::vector<Note> melody = parseVoice(kMelody);
    addPulseVoice(mixBus, melody, 0.30, 0);
    addPulseVoice(mixBus, melody, 0.09, 3 * kStepSamples);  // the echo, three eighths later
    addTriangleVoice(mixBus, parseVoice(kBass), 0.40);
    addDrums(mixBus, parseDrums(kDrums));
    // The last few milliseconds fade to silence so the loop joins without a pop.
    const int fade = kSampleRate / 100;
    for (int i = 0; i < fade; ++i) mixBus[kMusicBytes - 1 - i] *= static_cast<double>(i) / fade;
    std::vector<uint8_t> out(kMusicBytes);
    const double masterGain = 0.85;  // leaves headroom: the loudest beat stays below full scale
    for (size_t i = 0; i < kMusicBytes; ++i) out[i] = toUnsigned8(masterGain * mixBus[i]);
    return out;
}

std::vector<uint8_t> synthesiseClick() {
    // A short falling "tick" (2.4 kHz down to 1.4 kHz) over 30 ms, then silence.
    std::vector<uint8_t> out(kClickBytes, 128);
    const int length = kSampleRate * 30 / 1000;
    double phase = 0;
    for (int i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double f = 1400 + 1000 * std::exp(-t / 0.006);
        phase += f / kSampleRate;
        const double attack = i < 12 ? 0.5 - 0.5 * std::cos(kPi * i / 12.0) : 1.0;
        const double tail = 0.5 + 0.5 * std::cos(kPi * static_cast<double>(i) / (length - 1));
        const double level = attack * std::exp(-t / 0.008) * tail;
        const double s = std::sin(2 * kPi * phase) + 0.3 * std::sin(4 * kPi * phase);
        out[i] = toUnsigned8(0.75 * level * s);
    }
    return out;
}

std::vector<uint8_t> waveFile(const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> out;
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size());
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(out, 16, 4);
    putLe(out, 1, 2);            // PCM
    putLe(out, 1, 2);            // mono
    putLe(out, kSampleRate, 4);
    putLe(out, kSampleRate, 4);  // bytes per second
    putLe(out, 1, 2);            // block align
    putLe(out, 8, 2);            // bits per sample
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe(out, dataBytes, 4);
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

}  // namespace art
