// Sound effects as heard: levels, pan, pitch and length in the mixed output after conversion from
// other rates and sizes, the copies of a sound, stopping, and a machine without a sound device.
#include "platform/paths.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"
#include "tests/sound/sound_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr int kRate = 22050;

bool Idle(double handle) {
    return WaitFor([handle] { return SoundChannelPlaying(handle) == 0; });
}

} // namespace

// Every sound is a 441 Hz sine of half a second, 25600 high in 16 bits (100 in 8 bits).
TEST(SoundEffects, LevelsPanPitchAndLengthAsHeard) {
    struct Case {
        int channels, rate, bits;
        double volume, pan, left, right; // expected levels relative to the sound's own
    } cases[] = {
        {2, kRate, 16, 1, 0, 1, 1},    {2, kRate, 16, 0.8, 0, 0.1, 0.1}, {2, kRate, 16, 0.5, 0, 0.00316, 0.00316},
        {2, kRate, 16, 1, 1, 0, 1},    {2, kRate, 16, 1, -0.2, 1, 0.1},  {2, kRate, 16, 2, -3, 1, 0},
        {2, kRate, 16, 0, 0, 0, 0},    {2, kRate, 16, NAN, NAN, 0, 0},   {1, 11025, 8, 1, 0, 1, 1},
        {1, kRate, 16, 1, 0, 1, 1},    {2, 44100, 16, 0.9, 0.1, 0.1, 0.316}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.channels << " channels, " << c.rate << " Hz, " << c.bits
                                        << " bits, volume " << c.volume << ", pan " << c.pan);
        std::vector<int16_t> sine = Sine(c.rate / 2, c.channels, c.rate, 441, c.bits == 8 ? 100 : 25600);
        std::string file = WriteTestFile("tone.wav", PcmWav(c.channels, c.rate, c.bits, sine));
        DiskOutput output(0);
        ASSERT_EQ(SoundLoad(file.c_str(), 3, 1), 1);
        ASSERT_EQ(SoundPlay(3, c.pan, c.volume), 3 * 256);
        ASSERT_TRUE(Idle(3 * 256));
        Mixed mixed = output.Close();
        std::vector<Stretch> runs = Stretches(mixed);
        ASSERT_EQ(runs.size(), c.left + c.right > 0 ? 1u : 0u);
        if (runs.empty()) continue;
        EXPECT_NEAR(static_cast<double>(runs[0].Length()), kRate / 2, c.rate == kRate ? 1 : 64);
        int crossings = 0;
        for (size_t f = runs[0].first + 1; f < runs[0].end; ++f)
            crossings += (mixed.At(f - 1, c.left < c.right) < 0) != (mixed.At(f, c.left < c.right) < 0);
        EXPECT_NEAR(crossings, 441, 3);
        for (int side : {0, 1})
            EXPECT_NEAR(Rms(mixed, runs[0], side) / (25600 / std::sqrt(2.0)), side ? c.right : c.left,
                        (side ? c.right : c.left) * 0.01);
    }
}

// Four copies sound together, a fifth play cuts off the oldest; a one-copy sound still playing is
// not interrupted; SoundStopAll stops everything at once.
TEST(SoundEffects, CopiesOverlapAndTheOldestIsCutOff) {
    std::string four = WriteTestFile("four.wav", PcmWav(2, kRate, 16, std::vector<int16_t>(11025 * 2, 4000)));
    std::string one = WriteTestFile("one.wav", PcmWav(2, kRate, 16, std::vector<int16_t>(6615 * 2, 3000)));
    DiskOutput output(-1);
    ASSERT_EQ(SoundLoad(four.c_str(), 0, 9), 1);
    ASSERT_EQ(SoundLoad(one.c_str(), 300, 0), 1); // slot 127, one copy
    for (int copy = 0; copy < 4; ++copy) EXPECT_EQ(SoundPlay(0, 0, 1), copy);
    EXPECT_EQ(SoundChannelPlaying(4), 0);
    output.WaitBuffers(2);
    EXPECT_EQ(SoundPlay(0, 0, 1), 0); // the first copy again, restarted
    for (int copy = 0; copy < 4; ++copy) EXPECT_EQ(SoundChannelPlaying(copy), 1);
    ASSERT_TRUE(Idle(0));
    output.WaitBuffers(2);

    EXPECT_EQ(SoundPlay(300, 0, 1), 127 * 256);
    EXPECT_LT(SoundPlay(300, 0, 1), 0);
    ASSERT_TRUE(Idle(127 * 256));
    output.WaitBuffers(2);
    EXPECT_EQ(SoundPlay(300, 0, 1) + SoundPlay(0, 0, 1), 127 * 256);
    output.WaitBuffers(2);
    SoundStopAll();
    EXPECT_EQ(SoundChannelPlaying(127 * 256) + SoundChannelPlaying(0), 0);
    output.WaitBuffers(3);
    Mixed mixed = output.Close();

    std::vector<Stretch> runs = Stretches(mixed);
    ASSERT_EQ(runs.size(), 3u);
    // Four copies sum to four times one copy, never five; copy 0 sounds alone after the others end.
    int loudest = 0;
    for (size_t f = runs[0].first; f < runs[0].end; ++f) loudest = std::max<int>(loudest, mixed.At(f, 1));
    EXPECT_EQ(loudest, 16000);
    EXPECT_EQ(mixed.At(runs[0].end - 2048, 0), 4000);
    // The refused play left the one-copy sound whole and unbroken; the stopped sounds end at once.
    EXPECT_EQ(runs[1].Length(), 6615u);
    EXPECT_EQ(Rms(mixed, runs[1], 0), 3000);
    EXPECT_LT(runs[2].Length(), 6615u);
    EXPECT_GE(mixed.Frames() - runs[2].end, 2048u);
}

// The system's own choice ends in "none" on a machine without a sound card, where ALSA would print
// its failed probes; without a device nothing loads or plays, and a later start can succeed.
TEST(SoundEffects, TheLogNamesTheDriverAndNothingIsPrinted) {
    std::string file = WriteTestFile("tone.wav", PcmWav(2, kRate, 16, std::vector<int16_t>(100 * 2, 1000)));
    for (auto [driver, logged, opened] : {std::tuple{"dummy", "Sound driver: dummy\r\n", 1.0},
                                          {nullptr, "Sound driver: ", -1.0}, // -1: either
                                          {"no-such-driver", "Sound driver: none\r\n", 0.0}}) {
        platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");
        testing::internal::CaptureStderr();
        double result = OpenSound(driver);
        EXPECT_TRUE(opened < 0 || result == opened) << logged;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(ReadLog().find(logged), 0u) << ReadLog();
    }
    EXPECT_EQ(SoundLoad(file.c_str(), 1, 1), 0);
    EXPECT_LT(SoundPlay(1, 0, 1), 0);
    MusicPlay(file.c_str(), 1);
    EXPECT_EQ(MusicPlaying(), 0);
    OpenSound();
    EXPECT_EQ(SoundLoad(file.c_str(), 1, 1), 1);
}
