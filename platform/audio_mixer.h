// The mixer over SDL2_mixer: one open device, sounds held as chunks that several fixed channels share,
// levels in hundredths of a decibel, and one piece of music.
#pragma once

#include "platform/audio_convert.h"

#include <cstdint>
#include <string>
#include <vector>

struct Mix_Chunk;
struct _Mix_Music;

namespace platform {

// Channels 0 to kMixerChannels-1 exist while the mixer is open.
constexpr int kMixerChannels = 512;

// Opens the default device at 22050 Hz, 16-bit stereo (the device may change rate and channel count;
// format then says what it took). False when there is no usable device.
bool MixerOpen(MixerFormat& format);
// SDL's name of the audio driver the open mixer plays through; empty while it is closed.
std::string MixerDriver();
// Halts every channel and the music, then closes the device.
void MixerClose();

// Samples in the open mixer's format, ready to play on any number of channels at once.
class SoundChunk {
  public:
    SoundChunk() = default;
    explicit SoundChunk(std::vector<uint8_t> samples);
    SoundChunk(SoundChunk&& other) noexcept;
    SoundChunk& operator=(SoundChunk&& other) noexcept;
    SoundChunk(const SoundChunk&) = delete;
    SoundChunk& operator=(const SoundChunk&) = delete;
    // Every channel still playing it must have been halted.
    ~SoundChunk();

    bool IsLoaded() const { return chunk_ != nullptr; }
    Mix_Chunk* Get() const { return chunk_; }

  private:
    void Free();
    std::vector<uint8_t> samples_;
    Mix_Chunk* chunk_ = nullptr;
};

// Plays the chunk once from its start on the channel, halting what played there. level is the gain
// in hundredths of a decibel (0 full, -10000 or below silence); pan > 0 attenuates the left side by
// pan hundredths of a decibel, pan < 0 the right side by -pan.
bool ChannelPlay(int channel, const SoundChunk& chunk, int level, int pan);
bool ChannelPlaying(int channel);
// Stops the channel; its next play starts from the beginning.
void ChannelHalt(int channel);
// The linear gain of a level in hundredths of a decibel.
float LevelGain(int level);

// One piece of music, streamed from its file while it plays.
class Music {
  public:
    Music() = default;
    explicit Music(const std::string& path);
    Music(Music&& other) noexcept;
    Music& operator=(Music&& other) noexcept;
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;
    ~Music();

    bool IsLoaded() const { return music_ != nullptr; }
    // Whole milliseconds, or -1 when the decoder cannot tell.
    double LengthMs() const;
    // From the start, once or looped without a seam; false when the mixer refuses it.
    bool Play(bool looped);

  private:
    void Free();
    _Mix_Music* music_ = nullptr;
};

// Volume in MCI units, 0 to 1000 (full).
void MusicSetVolume(int units);
bool MusicActive();

} // namespace platform
