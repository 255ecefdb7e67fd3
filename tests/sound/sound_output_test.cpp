// Sound effects and music as heard: levels, pan and length in the mixed output after
// conversion from other rates and sizes, the copies of a sound, stopping, a machine without a sound
// device, and music played, stopped, set in volume and looped through the mixer and the frame loop.
#include "platform/audio_convert.h"
#include "platform/paths.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/sound/sound.h"
#include "tests/sound/sound_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr int kRate = 22050;

std::string Tune(const std::string& name, size_t frames, double hz, double amplitude) {
    return WriteTempFile(name, PcmWav(2, kRate, 16, Sine(frames, 2, kRate, hz, amplitude)));
}

} // namespace

// Output keeps the sound's length: 8000 frames of 8 kHz last a second at any rate. Input without
// frames or channels, too short for one frame of output, or past the byte limit converts to nothing.
TEST(SoundEffects, ConversionsKeepTheLengthAndRefuseWhatPassesTheLimit) {
    const std::vector<uint8_t> pcm(16000, 0x80);
    for (auto [from, size, to, limit, bytes] : {
             std::tuple{platform::PcmFormat{1, 8000, 8}, 8000, platform::MixerFormat{8000, 1}, 1 << 20, 16000},
             {{1, 8000, 8}, 8000, {16000, 2}, 1 << 20, 64000},   {{2, 16000, 16}, 16000, {16000, 2}, 1 << 20, 16000},
             {{1, 8000, 8}, 8000, {16000, 2}, 60000, 0},         {{1, 8000, 8}, 0, {16000, 2}, 1 << 20, 0},
             {{1, 44100, 8}, 1, {8000, 2}, 1 << 20, 0},          {{0, 8000, 8}, 8000, {8000, 1}, 1 << 20, 0},
             {{1, 8000, 8}, 1, {16000, 2}, 1 << 20, 8}}) {
        std::vector<uint8_t> out(3);
        EXPECT_EQ(platform::ConvertPcm(from, pcm.data(), size_t(size), to, size_t(limit), out), bytes > 0);
        EXPECT_EQ(out.size(), size_t(bytes)) << from.channels << " x " << from.rate << " to " << to.rate;
    }
}

// Every sound is a 441 Hz sine of half a second, 25600 high in 16 bits (100 in 8 bits).
TEST(SoundEffects, LevelsPanAndLengthAsHeard) {
    // Rows: channels, rate, bits, volume, pan, and the levels expected left and right relative to the sound's own.
    const std::tuple<int, int, int, double, double, double, double> cases[] = {
        {2, kRate, 16, 1, 0, 1, 1}, {2, kRate, 16, 0.8, 0, 0.1, 0.1},    {2, kRate, 16, 0.5, 0, 0.00316, 0.00316},
        {2, kRate, 16, 1, 1, 0, 1}, {2, kRate, 16, 1, -0.2, 1, 0.1},     {2, kRate, 16, 2, -3, 1, 0},
        {2, kRate, 16, 0, 0, 0, 0}, {2, kRate, 16, NAN, NAN, 0, 0},      {1, 11025, 8, 1, 0, 1, 1},
        {1, kRate, 16, 1, 0, 1, 1}, {2, 44100, 16, 0.9, 0.1, 0.1, 0.316}};
    for (const auto& [channels, rate, bits, volume, pan, left, right] : cases) {
        SCOPED_TRACE(testing::Message() << channels << " x " << rate << " Hz, " << volume << ", " << pan);
        std::vector<int16_t> sine = Sine(rate / 2, channels, rate, 441, bits == 8 ? 100 : 25600);
        DiskOutput output(0);
        ASSERT_EQ(SoundLoad(WriteTempFile("tone.wav", PcmWav(channels, rate, bits, sine)).c_str(), 3, 1), 1);
        ASSERT_EQ(SoundPlay(3, pan, volume), 3 * 256);
        ASSERT_TRUE(WaitFor([] { return SoundChannelPlaying(3 * 256) == 0; }));
        Mixed mixed = output.Close();
        std::vector<Stretch> runs = Stretches(mixed);
        ASSERT_EQ(runs.size(), left + right > 0 ? 1u : 0u);
        if (runs.empty()) continue;
        EXPECT_NEAR(static_cast<double>(runs[0].Length()), kRate / 2, rate == kRate ? 1 : 64);
        for (int side : {0, 1})
            EXPECT_NEAR(Rms(mixed, runs[0], side) / (25600 / std::sqrt(2.0)), side ? right : left,
                        (side ? right : left) * 0.01);
    }
}

// Four copies sound together, a fifth play cuts off the oldest; a one-copy sound still playing is
// not interrupted, and plays again once it has ended; SoundStopAll stops everything at once.
TEST(SoundEffects, CopiesOverlapAndTheOldestIsCutOff) {
    std::string four = WriteTempFile("four.wav", PcmWav(2, kRate, 16, std::vector<int16_t>(11025 * 2, 4000)));
    std::string one = WriteTempFile("one.wav", PcmWav(2, kRate, 16, std::vector<int16_t>(6615 * 2, 3000)));
    OpenSound();
    ASSERT_EQ(SoundLoad(four.c_str(), 0, 9), 1);
    ASSERT_EQ(SoundLoad(one.c_str(), 300, 0), 1); // slot 127, one copy
    for (int play = 0; play < 5; ++play) EXPECT_EQ(SoundPlay(0, 0, 1), play % 4);
    for (int copy = 0; copy < 4; ++copy) EXPECT_EQ(SoundChannelPlaying(copy), 1);
    EXPECT_EQ(SoundPlay(300, 0, 1), 127 * 256);
    EXPECT_LT(SoundPlay(300, 0, 1), 0);
    ASSERT_TRUE(WaitFor([] { return SoundChannelPlaying(127 * 256) == 0; }));
    EXPECT_EQ(SoundPlay(300, 0, 1), 127 * 256);
    SoundStopAll();
    EXPECT_EQ(SoundChannelPlaying(127 * 256) + SoundChannelPlaying(0) + SoundChannelPlaying(3), 0);
}

// The system's own choice, where ALSA would print its failed probes on a machine without a sound
// card, prints nothing; a driver that cannot open logs "none", and nothing loads or plays until a
// later start succeeds.
TEST(SoundEffects, TheLogNamesTheDriverAndNothingIsPrinted) {
    std::string file = WriteTempFile("tone.wav", PcmWav(2, kRate, 16, std::vector<int16_t>(100 * 2, 1000)));
    platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");
    testing::internal::CaptureStderr();
    OpenSound(nullptr);
    EXPECT_EQ(OpenSound("no-such-driver"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(SoundLoad(file.c_str(), 1, 1), 0);
    EXPECT_EQ(OpenSound(), 1);
    EXPECT_EQ(SoundLoad(file.c_str(), 1, 1), 1);
    std::string log = ReadLog();
    EXPECT_EQ(log.substr(log.find("\r\n") + 2), "Sound driver: none\r\nSound driver: dummy\r\n") << log;
}

// A tune at half volume; a long piece looped by the mixer, which the frame loop leaves alone, past
// two seams without a gap or a step larger than its sine's own, then stopped at once; short pieces
// sounding every half second, started by the frame loop.
TEST(Music, PlaysLoopsStopsAndSetsItsVolume) {
    AttachSubsystems();
    StartRuntime();
    DiskOutput output(-1);
    MusicPlay(Tune("tune.wav", kRate / 2, 440, 12000).c_str(), 0);
    MusicVolume(0.5);
    ASSERT_TRUE(WaitFor([] { return MusicPlaying() == 0; }));
    output.WaitBuffers(2);
    // 300 whole periods of 525 Hz: looped without a seam, the output is one unbroken sine.
    MusicPlay(Tune("loop.wav", 12600, 525, 8000).c_str(), 1);
    for (double start = ElapsedTime(); ElapsedTime() < start + 1600;) ShowScreen();
    MusicStop();
    output.WaitBuffers(3);
    MusicPlay(Tune("short.wav", 6615, 440, 8000).c_str(), 1); // 300 ms
    for (double start = ElapsedTime(); ElapsedTime() < start + 1800;) {
        EXPECT_EQ(MusicPlaying(), 1);
        ShowScreen();
    }
    MusicStop();
    Mixed mixed = output.Close();

    std::vector<Stretch> runs = Stretches(mixed, 1024);
    ASSERT_GE(runs.size(), 5u); // the tune, the loop, three or more short pieces
    // Measured well after the start: the mixer may play on before the volume is set.
    EXPECT_NEAR(Rms(mixed, {runs[0].end - 4000, runs[0].end - 1000}, 1), 6000 / std::sqrt(2.0), 100);
    EXPECT_GT(runs[1].Length(), 2.5 * 12600) << "the piece stopped or paused at its end";
    int worst = 0;
    for (size_t f = runs[1].first + 1; f < runs[1].end; ++f)
        worst = std::max(worst, std::abs(mixed.At(f, 0) - mixed.At(f - 1, 0)));
    EXPECT_LT(worst, 8000 * 2 * M_PI * 525 / kRate * 1.05 + 2) << "a cut at a seam";
    for (size_t i = 2; i + 1 < runs.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(runs[i].Length()), 6615, 10);
        EXPECT_NEAR(static_cast<double>(runs[i + 1].first - runs[i].first), kRate / 2, kRate / 10);
    }
}
