// The sound system's records: the device, the table of sound slots and the music state, reached
// through one accessor.
#pragma once

#include "platform/audio_mixer.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

constexpr int kSoundSlotCount = 2048;
constexpr int kHighestSoundNumber = 127;
constexpr int kMaxCopies = 4;

// The open mixer. Destroying it closes the device.
class SoundDevice {
  public:
    SoundDevice() = default;
    SoundDevice(const SoundDevice&) = delete;
    SoundDevice& operator=(const SoundDevice&) = delete;
    ~SoundDevice() { Close(); }

    // True when the mixer opened; false leaves the runtime without sound.
    bool Open();
    void Close();
    bool IsOpen() const { return open_; }
    const platform::MixerFormat& Format() const { return format_; }

  private:
    bool open_ = false;
    platform::MixerFormat format_{};
};

struct SoundSlot {
    int32_t bufferCount = 0; // playable copies, 0 when empty
    int32_t nextBuffer = 0;  // the copy tried first by the next play
    std::string fileName;    // the resolved name last loaded
    SoundDevice* device = nullptr;
    // The mixer channel each copy plays on, -1 for none; copy k of sound n always uses channel 4n + k,
    // so no sound ever takes another's channel.
    std::array<int32_t, kMaxCopies> buffers{-1, -1, -1, -1};
    // The samples every copy plays.
    platform::SoundChunk samples;
};

struct MusicState {
    platform::Music music;
    bool looping = false;
    double loopEndTime = 0; // ElapsedTime at which a looping short piece restarts; 0 when the mixer loops
    double volume = -1;     // the last volume set, -1 when unknown
};

struct SoundState {
    std::unique_ptr<SoundDevice> device;
    std::unique_ptr<SoundSlot[]> slots; // kSoundSlotCount, allocated as one array
    MusicState music;
};

SoundState& Sound();
// Copies halted, then the samples freed: the slot is empty.
void SoundSlotRelease(SoundSlot& slot);
