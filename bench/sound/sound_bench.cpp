// Loading a 10 MB WAV (our reader against SDL_LoadWAV, the whole SoundLoad against Mix_LoadWAV) and
// the mixer's CPU share for 32 playing copies with exact gains against Mix_Volume and Mix_SetPanning.
#include "platform/paths.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"
#include "runtime/sound/wav_reader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <thread>

namespace {

void Put(std::string& s, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>(value >> (8 * i) & 0xFF);
}

// A 16-bit stereo sine of the given length in a WAV file.
std::string MakeWav(const std::string& name, int rate, double seconds) {
    std::string pcm;
    auto frames = static_cast<size_t>(rate * seconds);
    for (size_t i = 0; i < frames; ++i) {
        auto v = static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.05)));
        Put(pcm, v, 2);
        Put(pcm, v, 2);
    }
    std::string file = "RIFF";
    Put(file, static_cast<uint32_t>(pcm.size() + 36), 4);
    file += "WAVEfmt ";
    Put(file, 16, 4);
    Put(file, 1, 2);
    Put(file, 2, 2);
    Put(file, rate, 4);
    Put(file, rate * 4, 4);
    Put(file, 4, 2);
    Put(file, 16, 2);
    file += "data";
    Put(file, static_cast<uint32_t>(pcm.size()), 4);
    file += pcm;
    std::string path = platform::TempDir() + name;
    std::ofstream(path, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
    return path;
}

// 10 MB: at the mixer's own rate, and at 44100 Hz, which is resampled.
const std::string& File(int rate) {
    static const std::string same = MakeWav("bench-22050.wav", 22050, 10e6 / (22050 * 4));
    static const std::string other = MakeWav("bench-44100.wav", 44100, 10e6 / (44100 * 4));
    return rate == 22050 ? same : other;
}

void OpenSound(const char* driver) {
    SoundDestroy();
    setenv("SDL_AUDIODRIVER", driver, 1);
    SoundCreate();
    if (SoundInit() != 1) std::abort();
}

void BM_OurReader(benchmark::State& state) {
    const std::string& path = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<uint8_t> bytes;
        WavSound wav;
        if (!ReadWavFile(path, bytes, wav)) state.SkipWithError("not read");
        benchmark::DoNotOptimize(wav.data);
    }
}

void BM_SDL_LoadWAV(benchmark::State& state) {
    const std::string& path = File(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        SDL_AudioSpec loaded;
        Uint8* data = nullptr;
        Uint32 length = 0;
        if (!SDL_LoadWAV(path.c_str(), &loaded, &data, &length)) state.SkipWithError("not read");
        SDL_FreeWAV(data);
    }
}

void BM_SoundLoad(benchmark::State& state) {
    const std::string& path = File(static_cast<int>(state.range(0)));
    OpenSound("dummy");
    for (auto _ : state)
        if (SoundLoad(path.c_str(), 1, 4) != 1) state.SkipWithError("not loaded");
}

void BM_Mix_LoadWAV(benchmark::State& state) {
    const std::string& path = File(static_cast<int>(state.range(0)));
    OpenSound("dummy");
    for (auto _ : state) {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (!chunk) state.SkipWithError("not loaded");
        Mix_FreeChunk(chunk);
    }
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

enum class Gains { None, Exact, MixVolume };

// The disk driver writing to /dev/null paces the mixer at real time; the program's own thread sleeps,
// so the process's CPU time is the mixer's.
void MixingShare(benchmark::State& state, Gains gains) {
    std::string tone = MakeWav("bench-tone.wav", 22050, 4);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    unsetenv("SDL_DISKAUDIODELAY");
    OpenSound("disk");
    for (int n = 0; n < 8; ++n) SoundLoad(tone.c_str(), n, 4);
    for (auto _ : state) {
        for (int n = 0; n < 8; ++n)
            for (int k = 0; k < 4; ++k) {
                if (gains == Gains::Exact) SoundPlay(n, 0.3, 0.8);
                if (gains == Gains::MixVolume) {
                    int channel = n * 4 + k;
                    Mix_PlayChannel(channel, Sound().slots[n].samples.Get(), 0);
                    Mix_Volume(channel, 13);
                    Mix_SetPanning(channel, 90, 255);
                }
            }
        double cpu = CpuSeconds();
        auto wall = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(3));
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
        state.counters["core_percent"] = 100 * (CpuSeconds() - cpu) / seconds;
        SoundStopAll();
        Mix_HaltChannel(-1);
    }
    OpenSound("dummy");
}

void BM_MixIdle(benchmark::State& state) { MixingShare(state, Gains::None); }
void BM_Mix32CopiesExactGains(benchmark::State& state) { MixingShare(state, Gains::Exact); }
void BM_Mix32CopiesMixVolumeAndPanning(benchmark::State& state) { MixingShare(state, Gains::MixVolume); }

} // namespace

BENCHMARK(BM_OurReader)->Arg(22050)->Arg(44100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SDL_LoadWAV)->Arg(22050)->Arg(44100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SoundLoad)->Arg(22050)->Arg(44100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix_LoadWAV)->Arg(22050)->Arg(44100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MixIdle)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix32CopiesExactGains)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mix32CopiesMixVolumeAndPanning)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    SoundDestroy();
    return 0;
}
