// Wave sounds on SDL audio: a waiting play lasts the sound and keeps input for
// later, a new sound replaces the one playing, the samples reach the device
// unchanged, and a machine without audio stays silent, its waits unchanged.
#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>

#include "desktop_fixture.h"
#include "platform/core/window_manager.h"
#include "platform/backend.h"
#include "platform/sound.h"

namespace {

using desktop_test::DesktopTest;

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A RIFF WAVE file as the game's: PCM, one channel, 11025 Hz, 8 bits.
std::vector<uint8_t> waveFile(uint32_t milliseconds, uint8_t seed) {
    const uint32_t samples = 11025 * milliseconds / 1000;
    std::vector<uint8_t> out;
    for (char c : std::string("RIFF")) out.push_back(static_cast<uint8_t>(c));
    put32(out, 36 + samples);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<uint8_t>(c));
    put32(out, 16);
    out.insert(out.end(), {1, 0, 1, 0});
    put32(out, 11025);
    put32(out, 11025);
    out.insert(out.end(), {1, 0, 8, 0});
    for (char c : std::string("data")) out.push_back(static_cast<uint8_t>(c));
    put32(out, samples);
    for (uint32_t i = 0; i < samples; ++i) out.push_back(static_cast<uint8_t>(0x80 + ((i * 7 + seed) % 97) - 48));
    return out;
}

uint64_t playTime(const std::vector<uint8_t>& wave, bool wait) {
    const uint64_t start = plat::backend::now();
    plat::playWave(u"test", wave.data(), wave.size(), wait ? plat::kSoundSync : plat::kSoundAsync);
    return plat::backend::now() - start;
}

TEST_F(DesktopTest, AWaitingPlayLastsTheSoundAndKeepsInputForLater) {
    const auto click = waveFile(300, 1);
    std::thread outside([] {
        SDL_Delay(100);
        SDL_Event event{};
        event.type = SDL_KEYDOWN;
        event.key.keysym.scancode = SDL_SCANCODE_DOWN;
        SDL_PushEvent(&event);
    });
    const uint64_t took = playTime(click, true);
    outside.join();
    EXPECT_GE(took, 300u);
    EXPECT_LT(took, 800u);
    const auto events = fedEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].param, plat::kKeyDown);
}

TEST_F(DesktopTest, StartingASoundEndsTheOnePlaying) {
    const auto music = waveFile(3000, 2);
    const auto click = waveFile(200, 3);
    EXPECT_LT(playTime(music, false), 100u);
    // The click does not wait for the music before it.
    const uint64_t took = playTime(click, true);
    EXPECT_GE(took, 200u);
    EXPECT_LT(took, 1000u);
    plat::playSound(nullptr, 0);  // stop
}

TEST_F(DesktopTest, TheSamplesReachTheAudioDeviceUnchanged) {
    const std::string file = ::testing::TempDir() + "fingulp_disk_audio_" + std::to_string(getpid()) + ".raw";
    plat::sdl::closeAudio();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    const auto click = waveFile(250, 4);
    playTime(click, true);
    // The device takes the last samples in its own time, later under load.
    for (int i = 0; i < 100 && SDL_GetQueuedAudioSize(plat::sdl::backendData().audio.device) > 0; ++i) SDL_Delay(10);
    plat::sdl::closeAudio();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::ifstream in(file, std::ios::binary);
    const std::vector<uint8_t> written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(file.c_str());
    const std::vector<uint8_t> samples(click.begin() + 44, click.end());
    EXPECT_NE(std::search(written.begin(), written.end(), samples.begin(), samples.end()), written.end())
        << written.size() << " bytes written, the sound's " << samples.size() << " samples not among them";
}

// Silent, but a waiting sound still blocks its length: timing is the same
// with or without a device.
TEST_F(DesktopTest, WithoutAudioTheSoundsAreSilenceOfTheirLength) {
    plat::sdl::closeAudio();
    setenv("SDL_AUDIODRIVER", "nosuchdriver", 1);
    const auto click = waveFile(500, 5);
    const uint64_t took = playTime(click, true);
    EXPECT_GE(took, 500u);
    EXPECT_LT(took, 1000u);
    EXPECT_LT(playTime(click, false), 200u);
    plat::playSound(nullptr, 0);
    plat::sdl::closeAudio();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace

// SIGTERM, SIGINT and SIGHUP are the close button: once one has come, a
// sleep and a waited sound end at once, so the program saves and ends.
TEST_F(DesktopTest, AnEndSignalIsTheCloseAndCutsTheWaitsShort) {
    const auto music = waveFile(5000, 6);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        plat::detail::wm().input.closeAsked = plat::sdl::backendData().input.endSignalled = false;
        std::thread outside([signal] { SDL_Delay(100); raise(signal); });
        const uint64_t slept = plat::backend::now();
        plat::backend::sleep(5000);
        EXPECT_LT(plat::backend::now() - slept, 2500u) << "signal " << signal;
        outside.join();
        EXPECT_LT(playTime(music, true), 2500u) << "signal " << signal;
        const auto events = fedEvents();
        ASSERT_EQ(events.size(), 1u) << "signal " << signal;
        EXPECT_EQ(events[0].code, plat::kEventClose);
    }
}
