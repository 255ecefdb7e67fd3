// The mixer over SDL2_mixer. Volume and pan are applied by our own per-channel effect: the mixer's
// own 129 volume steps cannot express levels such as -50 dB, which would round to silence.
#include "platform/audio_mixer.h"

#include "platform/paths.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <algorithm>
#include <dlfcn.h>
#include <array>
#include <cmath>
#include <utility>

namespace platform {

namespace {

constexpr int kRate = 22050;
constexpr int kChunkFrames = 1024;

extern "C" void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA prints every failed probe (eight lines on a machine without a sound card) to standard error.
// Its error handler is one per process, so setting it here also quiets the library SDL loads; the
// library stays loaded so that the handler does too.
void SilenceAlsa() {
    static bool done = false;
    if (std::exchange(done, true)) return;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NODELETE);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (auto set = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler"))) set(IgnoreAlsaError);
    dlclose(alsa);
}

struct ChannelGains {
    float left = 1;
    float right = 1;
};

struct MixerState {
    bool open = false;
    MixerFormat format{kRate, 2};
    // Written only while the channel is idle, read by the mixer thread while it plays.
    std::array<ChannelGains, kMixerChannels> gains{};
};

MixerState& Mixer() {
    // Never destroyed: the program's end may still close the mixer after static destructors ran.
    static auto* state = new MixerState;
    return *state;
}

int16_t Scaled(int16_t sample, float gain) { return static_cast<int16_t>(std::lrintf(sample * gain)); }

// Runs on the mixer thread over one channel's samples before they are added to the output.
void ApplyGains(int channel, void* stream, int length, void*) {
    const MixerState& mixer = Mixer();
    const ChannelGains g = mixer.gains[static_cast<size_t>(channel)];
    if (g.left == 1 && g.right == 1) return;
    auto* s = static_cast<int16_t*>(stream);
    int count = length / 2;
    int channels = mixer.format.channels;
    float middle = (g.left + g.right) / 2;
    if (channels == 1) {
        for (int i = 0; i < count; ++i) s[i] = Scaled(s[i], middle);
        return;
    }
    for (int i = 0; i + channels <= count; i += channels) {
        s[i] = Scaled(s[i], g.left);
        s[i + 1] = Scaled(s[i + 1], g.right);
        for (int c = 2; c < channels; ++c) s[i + c] = Scaled(s[i + c], middle);
    }
}

} // namespace

bool MixerOpen(MixerFormat& format) {
    MixerState& mixer = Mixer();
    if (mixer.open) MixerClose();
    SilenceAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    Mix_Init(MIX_INIT_FLAC | MIX_INIT_MOD | MIX_INIT_MP3 | MIX_INIT_OGG | MIX_INIT_MID | MIX_INIT_OPUS);
    if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kChunkFrames) != 0) {
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    int rate = 0, channels = 0;
    Uint16 sampleFormat = 0;
    Mix_QuerySpec(&rate, &sampleFormat, &channels);
    Mix_AllocateChannels(kMixerChannels);
    mixer.format = {rate, channels};
    mixer.open = true;
    format = mixer.format;
    return true;
}

std::string MixerDriver() {
    const char* driver = Mixer().open ? SDL_GetCurrentAudioDriver() : nullptr;
    return driver ? driver : "";
}

void MixerClose() {
    MixerState& mixer = Mixer();
    if (!mixer.open) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    mixer.open = false;
}

SoundChunk::SoundChunk(std::vector<uint8_t> samples) : samples_(std::move(samples)) {
    if (samples_.empty() || samples_.size() > UINT32_MAX) return;
    // The chunk points into samples_, which we keep and free ourselves.
    chunk_ = Mix_QuickLoad_RAW(samples_.data(), static_cast<Uint32>(samples_.size()));
}

SoundChunk::SoundChunk(SoundChunk&& other) noexcept
    : samples_(std::move(other.samples_)), chunk_(std::exchange(other.chunk_, nullptr)) {}

SoundChunk& SoundChunk::operator=(SoundChunk&& other) noexcept {
    if (this != &other) {
        Free();
        samples_ = std::move(other.samples_);
        chunk_ = std::exchange(other.chunk_, nullptr);
    }
    return *this;
}

SoundChunk::~SoundChunk() { Free(); }

void SoundChunk::Free() {
    // Mix_FreeChunk also halts any channel still playing the chunk.
    if (chunk_) Mix_FreeChunk(chunk_);
    chunk_ = nullptr;
    samples_.clear();
}

float LevelGain(int level) { return level <= -10000 ? 0.0f : static_cast<float>(std::pow(10.0, level / 2000.0)); }

bool ChannelPlay(int channel, const SoundChunk& chunk, int level, int pan) {
    MixerState& mixer = Mixer();
    if (!mixer.open || !chunk.IsLoaded() || channel < 0 || channel >= kMixerChannels) return false;
    // Halting removes the channel's effects; with the channel idle, the gains and the effect are in
    // place before the mixer thread can play a single sample of it.
    Mix_HaltChannel(channel);
    Mix_UnregisterAllEffects(channel);
    ChannelGains& g = mixer.gains[static_cast<size_t>(channel)];
    g.left = LevelGain(level - std::max(pan, 0));
    g.right = LevelGain(level - std::max(-pan, 0));
    if (Mix_RegisterEffect(channel, ApplyGains, nullptr, nullptr) == 0) return false;
    return Mix_PlayChannel(channel, chunk.Get(), 0) == channel;
}

bool ChannelPlaying(int channel) {
    return Mixer().open && channel >= 0 && channel < kMixerChannels && Mix_Playing(channel) != 0;
}

void ChannelHalt(int channel) {
    if (Mixer().open && channel >= 0 && channel < kMixerChannels) Mix_HaltChannel(channel);
}

Music::Music(const std::string& path) {
    if (Mixer().open) music_ = Mix_LoadMUS(SystemPath(path).c_str());
}

Music::Music(Music&& other) noexcept : music_(std::exchange(other.music_, nullptr)) {}

Music& Music::operator=(Music&& other) noexcept {
    if (this != &other) {
        Free();
        music_ = std::exchange(other.music_, nullptr);
    }
    return *this;
}

Music::~Music() { Free(); }

void Music::Free() {
    // Freeing the playing piece halts it first.
    if (music_) Mix_FreeMusic(music_);
    music_ = nullptr;
}

double Music::LengthMs() const {
    double seconds = music_ ? Mix_MusicDuration(music_) : -1;
    return seconds < 0 ? -1 : std::floor(seconds * 1000);
}

bool Music::Play(bool looped) { return music_ && Mix_PlayMusic(music_, looped ? -1 : 0) == 0; }

void MusicSetVolume(int units) {
    if (Mixer().open) Mix_VolumeMusic((std::clamp(units, 0, 1000) * MIX_MAX_VOLUME + 500) / 1000);
}

bool MusicActive() { return Mixer().open && Mix_PlayingMusic() != 0; }

} // namespace platform
