// The WAV reader: the files Debian ships read as SDL reads them, chunk layouts load, and hostile
// files fail without harm to the slot they were loaded into.
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"
#include "runtime/sound/wav_reader.h"
#include "tests/sound/sound_test_support.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

TEST(WavReader, DebianSoundsReadAsSdlReadsThem) {
    int files = 0;
    for (const char* dir :
         {"/usr/share/sounds/alsa", "/usr/share/games/chromium-bsu/wav", "/usr/share/games/lbreakout2/sounds"}) {
        ASSERT_TRUE(std::filesystem::is_directory(dir)) << dir << ": run scripts/install-deps.sh";
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            std::string path = entry.path();
            if (!path.ends_with(".wav")) continue;
            ++files;
            std::vector<uint8_t> bytes;
            WavSound wav;
            SDL_AudioSpec sdl;
            Uint8* data = nullptr;
            Uint32 length = 0;
            ASSERT_TRUE(ReadWavFile(path, bytes, wav) && SDL_LoadWAV(path.c_str(), &sdl, &data, &length)) << path;
            EXPECT_EQ((std::array{wav.format.rate, wav.format.channels, wav.format.bits}),
                      (std::array<int, 3>{sdl.freq, sdl.channels, SDL_AUDIO_BITSIZE(sdl.format)}));
            EXPECT_EQ(std::vector<uint8_t>(wav.data, wav.data + wav.size), std::vector<uint8_t>(data, data + length));
            SDL_FreeWAV(data);
        }
    }
    EXPECT_GT(files, 40);
}

TEST(WavReader, LayoutsThatLoadAndHostileFilesThatFailWithoutHarm) {
    OpenSound();
    const std::string pcm = "abcdefghijkl"; // three frames
    std::string fmt = Chunk("fmt ", FmtBody(1, 2, 22050, 4, 16));
    std::string good = Riff(fmt + Chunk("data", pcm));
    std::string goodPath = WriteTempFile("good.wav", good);
    std::string huge(4, '\xFF');
    std::string pcmGuid("\x01\0\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 16);
    auto extensible = [&](const std::string& guid) {
        return Chunk("fmt ", FmtBody(0xFFFE, 2, 22050, 4, 16, std::string("\x16\0\x10\0\x03\0\0\0", 8) + guid));
    };
    // Rows: what, the file, whether it loads.
    const std::tuple<const char*, std::string, bool> cases[] = {
        {"LIST before both", Riff(Chunk("LIST", "abcd") + fmt + Chunk("LIST", "xy") + Chunk("data", pcm)), true},
        {"odd chunk without its pad", Riff(Chunk("JUNK", "abc", false) + fmt + Chunk("data", pcm)), true},
        {"odd chunk with its pad", Riff(Chunk("JUNK", "abc") + fmt + Chunk("data", pcm)), true},
        {"extensible PCM", Riff(extensible(pcmGuid) + Chunk("data", pcm)), true},
        {"part of a frame cut off", Riff(fmt + Chunk("data", pcm + "\x07")), true},
        {"mono 8 bits at 100 Hz", Riff(Chunk("fmt ", FmtBody(1, 1, 100, 1, 8)) + Chunk("data", pcm)), true},
        {"not RIFF", "RIFX" + good.substr(4), false},
        {"not WAVE", good.substr(0, 8) + "WAVF" + good.substr(12), false},
        {"truncated RIFF header", good.substr(0, 10), false},
        {"truncated chunk header", good.substr(0, 16), false},
        {"truncated fmt", good.substr(0, 30), false},
        {"chunk size 0xFFFFFFFF", Riff("LIST" + huge + fmt + Chunk("data", pcm)), false},
        {"data size 0xFFFFFFFF", Riff(fmt + "data" + huge + pcm), false},
        {"fmt of 14 bytes, the next ones read as 16 bits",
         Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 4, 16).substr(0, 14)) + Chunk("\x10\0JK", "") + Chunk("data", pcm)),
         false},
        {"block alignment 0", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 0, 16)) + Chunk("data", pcm)), false},
        {"tag 3", Riff(Chunk("fmt ", FmtBody(3, 2, 22050, 8, 32)) + Chunk("data", pcm)), false},
        {"3 channels", Riff(Chunk("fmt ", FmtBody(1, 3, 22050, 6, 16)) + Chunk("data", pcm)), false},
        {"24 bits", Riff(Chunk("fmt ", FmtBody(1, 2, 22050, 6, 24)) + Chunk("data", pcm + pcm)), false},
        {"rate 99", Riff(Chunk("fmt ", FmtBody(1, 2, 99, 4, 16)) + Chunk("data", pcm)), false},
        {"data past the end", good.substr(0, good.size() - 6), false},
        {"less than a frame", Riff(fmt + Chunk("data", "\x01\x02")), false},
        {"no data", Riff(fmt + Chunk("LIST", "abcd")), false},
        {"data only before fmt", Riff(Chunk("data", pcm) + fmt), false},
        {"extensible float", Riff(extensible(std::string(16, '\3')) + Chunk("data", pcm)), false},
        {"extensible cut short", Riff(extensible(pcmGuid).substr(0, 8 + 39)), false},
        {"extensible, 16 bytes", Riff(Chunk("fmt ", FmtBody(0xFFFE, 2, 22050, 4, 16)) + Chunk("data", pcm)), false},
    };
    for (const auto& [what, file, loads] : cases) {
        SCOPED_TRACE(what);
        WavSound wav;
        ASSERT_EQ(ReadWav(reinterpret_cast<const uint8_t*>(file.data()), file.size(), wav), loads);
        EXPECT_EQ(loads ? std::string(reinterpret_cast<const char*>(wav.data), wav.size) : pcm, pcm);
        EXPECT_EQ(SoundLoad(WriteTempFile("case.wav", file).c_str(), 9, 2), loads ? 1 : 0);
        EXPECT_EQ(Sound().slots[9].bufferCount, loads ? 2 : 0);
        EXPECT_EQ(SoundLoad(goodPath.c_str(), 9, 2), 1);
    }
    std::string fastest = Riff(Chunk("fmt ", FmtBody(1, 2, 200000, 4, 16)) + Chunk("data", pcm));
    WavSound wav;
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWav(reinterpret_cast<const uint8_t*>(fastest.data()), fastest.size(), wav));
    // Large files are sized first: refused above 1 GiB, and below it when they do not start as WAV.
    for (int64_t size : {int64_t{900} << 20, (int64_t{1} << 30) + 1}) {
        std::string path = WriteTempFile("large.wav", size > (int64_t{1} << 30) ? good : "RIFX");
        std::filesystem::resize_file(path, static_cast<uintmax_t>(size)); // sparse: costs no disk
        ResetPeakMemory();
        long before = PeakMemoryKb();
        EXPECT_FALSE(ReadWavFile(path, bytes, wav) || SoundLoad(path.c_str(), 9, 1)) << size;
        EXPECT_LT(PeakMemoryKb() - before, 16 * 1024) << size;
        std::filesystem::remove(path);
    }
    EXPECT_EQ(SoundLoad(goodPath.c_str(), -1, 1) + SoundPlay(-1, 0, 1), -1); // no slot: not loaded, not played
    EXPECT_EQ(SoundPlay(9, 0, 1), -1);
}
