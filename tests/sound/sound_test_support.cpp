// WAV building and the disk-driver read-back of the sound tests.
#include "tests/sound/sound_test_support.h"

#include "platform/paths.h"
#include "runtime/sound/sound.h"
#include "tests/support/headless.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string Le(uint32_t value, int bytes) {
    std::string s;
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(value >> (8 * i) & 0xFF);
    return s;
}

} // namespace

std::string Chunk(const char* id, const std::string& body, bool pad) {
    return std::string(id, 4) + Le(static_cast<uint32_t>(body.size()), 4) + body +
           std::string(pad ? body.size() % 2 : 0, '\0');
}

std::string FmtBody(int tag, int channels, int rate, int blockAlign, int bits, const std::string& extra) {
    return Le(tag, 2) + Le(channels, 2) + Le(rate, 4) + Le(rate * blockAlign, 4) + Le(blockAlign, 2) + Le(bits, 2) +
           extra;
}

std::string Riff(const std::string& chunks) { return "RIFF" + Le(chunks.size() + 4, 4) + "WAVE" + chunks; }

std::string PcmWav(int channels, int rate, int bits, const std::vector<int16_t>& samples) {
    std::string pcm;
    for (int16_t v : samples) pcm += bits == 8 ? Le(128 + v, 1) : Le(static_cast<uint16_t>(v), 2);
    return Riff(Chunk("fmt ", FmtBody(1, channels, rate, channels * bits / 8, bits)) + Chunk("data", pcm));
}

std::vector<int16_t> Sine(size_t frames, int channels, int rate, double hz, double amplitude) {
    std::vector<int16_t> s;
    for (size_t i = 0; i < frames * static_cast<size_t>(channels); ++i)
        s.push_back(static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * hz * (i / channels) / rate))));
    return s;
}

double OpenSound(const char* driver) {
    SoundDestroy();
    driver ? setenv("SDL_AUDIODRIVER", driver, 1) : unsetenv("SDL_AUDIODRIVER");
    SoundCreate();
    return SoundInit();
}

DiskOutput::DiskOutput(int delayMs) : path_(platform::TempDir() + "mixed.raw") {
    std::remove(path_.c_str());
    setenv("SDL_DISKAUDIOFILE", path_.c_str(), 1);
    delayMs >= 0 ? setenv("SDL_DISKAUDIODELAY", std::to_string(delayMs).c_str(), 1) : unsetenv("SDL_DISKAUDIODELAY");
    EXPECT_EQ(OpenSound("disk"), 1);
}

Mixed DiskOutput::Close() {
    OpenSound();
    std::string bytes = ReadFile(path_);
    Mixed mixed{std::vector<int16_t>(bytes.size() / 4 * 2)};
    std::memcpy(mixed.samples.data(), bytes.data(), mixed.samples.size() * 2);
    return mixed;
}

void DiskOutput::WaitBuffers(int count) const {
    std::error_code missing;
    // One more than the size, 0 while the file is missing.
    auto size = [&] { return std::filesystem::file_size(path_, missing) + 1; };
    uintmax_t target = size() + count * 4096u; // 1024 frames of 4 bytes
    WaitFor([&] { return size() >= target; });
}

std::vector<Stretch> Stretches(const Mixed& mixed, size_t minGap) {
    std::vector<Stretch> found;
    size_t silent = minGap;
    for (size_t f = 0; f < mixed.samples.size() / 2; ++f) {
        if (mixed.At(f, 0) == 0 && mixed.At(f, 1) == 0) {
            ++silent;
        } else {
            if (silent >= minGap) found.push_back({f, f});
            found.back().end = f + 1;
            silent = 0;
        }
    }
    return found;
}

double Rms(const Mixed& mixed, Stretch s, int side) {
    double sum = 0;
    for (size_t f = s.first; f < s.end; ++f) sum += static_cast<double>(mixed.At(f, side)) * mixed.At(f, side);
    return std::sqrt(sum / static_cast<double>(s.end - s.first));
}
