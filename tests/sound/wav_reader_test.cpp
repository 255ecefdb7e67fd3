// The WAV reader: the files Debian ships read as SDL reads them, chunk layouts load, and hostile
// files fail without harm to the slot they were loaded into.
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"
#include "runtime/sound/wav_reader.h"
#include "tests/sound/sound_test_support.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// The view wav gives stays inside file.
bool Reads(const std::string& file, WavSound& wav) {
    return ReadWav(reinterpret_cast<const uint8_t*>(file.data()), file.size(), wav);
}

} // namespace

TEST(WavReader, DebianSoundsReadAsSdlReadsThem) {
    OpenDummySound();
    int files = 0;
    for (const char* dir :
         {"/usr/share/sounds/alsa", "/usr/share/games/chromium-bsu/wav", "/usr/share/games/lbreakout2/sounds"}) {
        ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir << ": run scripts/install-deps.sh";
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::string path = entry.path().string();
            if (entry.path().extension() != ".wav") continue;
            SCOPED_TRACE(path);
            ++files;
            WavSound wav;
            std::string file = ReadFile(path);
            ASSERT_TRUE(Reads(file, wav));
            SDL_AudioSpec loaded;
            Uint8* data = nullptr;
            Uint32 length = 0;
            ASSERT_NE(SDL_LoadWAV(path.c_str(), &loaded, &data, &length), nullptr);
            EXPECT_EQ(wav.format.rate, loaded.freq);
            EXPECT_EQ(wav.format.channels, loaded.channels);
            EXPECT_EQ(wav.format.bits, SDL_AUDIO_BITSIZE(loaded.format));
            EXPECT_EQ(std::vector<uint8_t>(wav.data, wav.data + wav.size), std::vector<uint8_t>(data, data + length));
            SDL_FreeWAV(data);
            EXPECT_EQ(SoundLoad(path.c_str(), 7, 2), 1);
        }
    }
    EXPECT_GT(files, 40);
}

TEST(WavReader, ChunkLayoutsThatLoad) {
    const std::string pcm = "abcdefghijkl"; // three frames
    std::string fmt = Chunk("fmt ", FmtBody(1, 2, 22050, 4, 16));
    std::string extensible = FmtBody(0xFFFE, 2, 22050, 4, 16,
                                     std::string("\x16\0\x10\0\x03\0\0\0", 8) +
                                         std::string("\x01\0\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 16));
    struct Case {
        const char* what;
        std::string file;
    } cases[] = {
        {"LIST before both", Riff(Chunk("LIST", "abcd") + fmt + Chunk("LIST", "xy") + Chunk("data", pcm))},
        {"odd chunk without its pad", Riff(Chunk("JUNK", "abc", false) + fmt + Chunk("data", pcm))},
        {"extensible PCM", Riff(Chunk("fmt ", extensible) + Chunk("data", pcm))},
        {"part of a frame cut off", Riff(fmt + Chunk("data", pcm + "\x07"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WavSound wav;
        ASSERT_TRUE(Reads(c.file, wav));
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(wav.data), wav.size), pcm);
    }
}

TEST(WavReader, HostileFilesFailAndLeaveTheSlotUsable) {
    OpenDummySound();
    const std::string pcm = "abcdefgh";
    std::string fmt = Chunk("fmt ", FmtBody(1, 2, 22050, 4, 16));
    std::string good = Riff(fmt + Chunk("data", pcm));
    std::string huge = "\xFF\xFF\xFF\xFF";
    struct Case {
        const char* what;
        std::string file;
    } cases[] = {
        {"empty file", ""},
        {"not RIFF", "RIFX" + good.substr(4)},
        {"truncated RIFF header", good.substr(0, 10)},
        {"truncated chunk header", good.substr(0, 16)},
        {"truncated fmt", good.substr(0, 30)},
        {"chunk size 0xFFFFFFFF", Riff("LIST" + huge + fmt + Chunk("data", pcm))},
        {"data size 0xFFFFFFFF", Riff(fmt + "data" + huge + pcm)},
        {"fmt of 14 bytes", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 4, 16).substr(0, 14)) + Chunk("data", pcm))},
        {"block alignment 0", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 0, 16)) + Chunk("data", pcm))},
        {"tag 3", Riff(Chunk("fmt ", FmtBody(3, 2, 22050, 8, 32)) + Chunk("data", pcm))},
        {"6 channels", Riff(Chunk("fmt ", FmtBody(1, 6, 22050, 12, 16)) + Chunk("data", pcm + pcm))},
        {"24 bits", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 6, 24)) + Chunk("data", pcm + pcm))},
        {"rate 0", Riff(Chunk("fmt ", FmtBody(1, 2, 0, 4, 16)) + Chunk("data", pcm))},
        {"rate 300000", Riff(Chunk("fmt ", FmtBody(1, 2, 300000, 4, 16)) + Chunk("data", pcm))},
        {"data past the end", Riff(fmt + Chunk("data", pcm)).substr(0, 12 + 24 + 8 + 6)},
        {"empty data", Riff(fmt + Chunk("data", ""))},
        {"less than a frame", Riff(fmt + Chunk("data", "\x01\x02"))},
        {"no data", Riff(fmt + Chunk("LIST", "abcd"))},
        {"data only before fmt", Riff(Chunk("data", pcm) + fmt)},
        {"extensible float",
         Riff(Chunk("fmt ", FmtBody(0xFFFE, 2, 22050, 4, 16, std::string(24, '\3'))) + Chunk("data", pcm))},
    };
    std::string goodPath = WriteTestFile("good.wav", good);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WavSound wav;
        EXPECT_FALSE(Reads(c.file, wav));
        EXPECT_EQ(SoundLoad(WriteTestFile("hostile.wav", c.file).c_str(), 9, 2), 0);
        EXPECT_EQ(Sound().slots[9].bufferCount, 0);
        EXPECT_EQ(SoundPlay(9, 0, 1), -1);
        EXPECT_EQ(SoundLoad(goodPath.c_str(), 9, 2), 1);
    }
    // Large files are sized first: refused above 1 GiB, and below it when they do not start as WAV.
    for (int64_t size : {int64_t{900} << 20, (int64_t{1} << 30) + 1}) {
        std::string path = WriteTestFile("large.wav", size > (int64_t{1} << 30) ? good : "RIFX");
        std::filesystem::resize_file(path, static_cast<uintmax_t>(size)); // sparse: costs no disk
        ResetPeakMemory();
        long before = PeakMemoryKb();
        EXPECT_EQ(SoundLoad(path.c_str(), 9, 1), 0) << size;
        EXPECT_LT(PeakMemoryKb() - before, 16 * 1024) << size;
        std::filesystem::remove(path);
    }
    EXPECT_EQ(SoundLoad(goodPath.c_str(), -1, 1), 0);
    EXPECT_EQ(SoundPlay(-1, 0, 1), -1);
    EXPECT_EQ(SoundLoad("not-there.wav", 9, 1), 0);
    EXPECT_EQ(SoundPlay(9, 0, 1), -1);
    EXPECT_EQ(SoundChannelPlaying(9 * 256 + 3), 0);
}
