// Music as heard: playing, stopping, volume, looping through the mixer and the frame loop, and a
// program that ends while sounds and music play.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/sound/sound.h"
#include "tests/sound/sound_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr int kRate = 22050;

std::string Tune(const std::string& name, size_t frames, double amplitude = 12000) {
    return WriteTestFile(name, PcmWav(2, kRate, 16, Sine(frames, 2, kRate, 440, amplitude)));
}

bool MusicEnded() {
    return WaitFor([] { return MusicPlaying() == 0; });
}

} // namespace

TEST(Music, PlaysLoopsStopsAndSetsItsVolume) {
    std::string tune = Tune("tune.wav", kRate);
    // 300 whole periods of 525 Hz: looped without a seam, the output is one unbroken sine.
    std::string loop = WriteTestFile("loop.wav", PcmWav(2, kRate, 16, Sine(12600, 2, kRate, 525, 8000)));
    DiskOutput output(2);
    MusicPlay("/usr/share/sounds/freedesktop/stereo/complete.oga", 0); // as Debian ships it
    EXPECT_EQ(MusicPlaying(), 1);
    ASSERT_TRUE(MusicEnded());
    output.WaitBuffers(2);
    for (double volume : {1.0, 0.5}) {
        MusicPlay(tune.c_str(), 0);
        MusicVolume(volume);
        ASSERT_TRUE(MusicEnded());
        output.WaitBuffers(2);
    }
    MusicPlay(loop.c_str(), 1);
    output.WaitBuffers(45); // past three seams, with no frame loop running
    EXPECT_EQ(MusicPlaying(), 1);
    MusicStop();
    EXPECT_EQ(MusicPlaying(), 0);
    output.WaitBuffers(3);
    MusicPlay("no-such-tune.ogg", 1);
    EXPECT_EQ(MusicPlaying(), 0);
    Mixed mixed = output.Close();

    std::vector<Stretch> runs = Stretches(mixed, 1024);
    ASSERT_EQ(runs.size(), 4u); // the shipped piece, full and half volume, the loop
    EXPECT_GT(Rms(mixed, runs[0], 0), 300);
    // Full and half volume, measured well after the start: the mixer may play on before the volume is set.
    Stretch full{runs[1].end - 6000, runs[1].end - 1000}, half{runs[2].end - 6000, runs[2].end - 1000};
    EXPECT_NEAR(Rms(mixed, half, 0) / Rms(mixed, full, 0), 0.5, 0.01);
    EXPECT_NEAR(Rms(mixed, full, 1), 12000 / std::sqrt(2.0), 100);
    // The loop goes on from its end to its start without a gap or a step larger than the sine's own,
    // and stops at once.
    Stretch looped = Stretches(mixed, 8).back();
    EXPECT_GT(looped.Length(), 2u * 12600) << "the piece stopped or paused at its end";
    int worst = 0;
    for (size_t f = looped.first + 1; f < looped.end; ++f)
        worst = std::max(worst, std::abs(mixed.At(f, 0) - mixed.At(f - 1, 0)));
    EXPECT_LT(worst, 8000 * 2 * M_PI * 525 / kRate * 1.05 + 2) << "a cut at a seam";
    EXPECT_GE(mixed.Frames() - looped.end, 2048u);
}

// Short pieces sound every half second, started by the frame loop.
TEST(Music, ShortPiecesLoopWhileTheFrameLoopRuns) {
    AttachSubsystems();
    StartRuntime();
    std::string tune = Tune("short.wav", 6615, 8000); // 300 ms
    DiskOutput output(-1);
    MusicPlay(tune.c_str(), 1);
    for (double start = ElapsedTime(); ElapsedTime() < start + 1800;) {
        EXPECT_EQ(MusicPlaying(), 1);
        ShowScreen();
    }
    MusicStop();
    Mixed mixed = output.Close();
    std::vector<Stretch> runs = Stretches(mixed, 1024);
    ASSERT_GE(runs.size(), 3u);
    for (size_t i = 0; i + 1 < runs.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(runs[i].Length()), 6615, 10);
        EXPECT_NEAR(static_cast<double>(runs[i + 1].first - runs[i].first), kRate / 2, kRate / 10);
    }
}

TEST(Music, AProgramEndsCleanlyWhileSoundsAndMusicPlay) {
    std::string effect = Tune("effect.wav", 22050, 8000);
    EXPECT_EXIT(
        {
            AttachSubsystems();
            StartRuntime();
            for (int n = 0; n < 8; ++n) {
                SoundLoad(effect.c_str(), n, 4);
                for (int k = 0; k < 4; ++k) SoundPlay(n, 0.5, 0.9);
            }
            MusicPlay(effect.c_str(), 1);
            EndProgram();
        },
        testing::ExitedWithCode(0), "");
}
