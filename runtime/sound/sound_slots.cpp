// Sound effects: loading a WAV file into a slot, playing its copies, asking and stopping them.
#include "runtime/core/number_convert.h"
#include "runtime/files/files.h"
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"
#include "runtime/sound/wav_reader.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace {

// A sound's samples in the mixer's format are capped.
constexpr size_t kMaxSampleBytes = size_t{256} << 20;

// The slot a sound number uses, or -1 for negative numbers, which address none.
int SlotNumber(double soundNumber) {
    int32_t n = NumberToInt(soundNumber);
    return n < 0 ? -1 : std::min(n, kHighestSoundNumber);
}

double Clamped(double value, double low, double high) { return std::isnan(value) ? 0 : std::clamp(value, low, high); }

platform::SoundChunk LoadSamples(const std::string& path, const platform::MixerFormat& format) {
    std::vector<uint8_t> bytes;
    WavSound wav;
    std::vector<uint8_t> samples;
    // Memory running out fails the load as a damaged file does.
    try {
        if (!ReadWavFile(path, bytes, wav) ||
            !platform::ConvertPcm(wav.format, wav.data, wav.size, format, kMaxSampleBytes, samples))
            return {};
    } catch (const std::bad_alloc&) {
        return {};
    }
    return platform::SoundChunk(std::move(samples));
}

bool CopyPlaying(const SoundSlot& slot, int copy) { return platform::ChannelPlaying(slot.buffers[copy]); }

} // namespace

void SoundSlotRelease(SoundSlot& slot) {
    // Halted first: the mixer thread must never read a freed chunk.
    for (int32_t& channel : slot.buffers) {
        platform::ChannelHalt(channel);
        channel = -1;
    }
    slot.samples = {};
    slot.bufferCount = 0;
    slot.nextBuffer = 0;
}

double SoundLoad(const RtString& file, double soundNumber, double copies) {
    int n = SlotNumber(soundNumber);
    SoundState& s = Sound();
    if (n < 0 || !s.slots) return 0;
    SoundSlot& slot = s.slots[n];
    SoundSlotRelease(slot);
    int count = std::clamp(NumberToInt(copies), 1, kMaxCopies);
    if (!slot.device || !slot.device->IsOpen()) return 0;
    RtString resolved;
    slot.fileName = std::string(ArchiveResolve(file, resolved) ? resolved.view() : file.view());
    // A failed load leaves the slot empty but keeps its device, so the next load can succeed.
    slot.samples = LoadSamples(slot.fileName, slot.device->Format());
    if (!slot.samples.IsLoaded()) return 0;
    slot.bufferCount = count;
    for (int k = 0; k < count; ++k) slot.buffers[k] = n * kMaxCopies + k;
    return 1;
}

double SoundPlay(double soundNumber, double pan, double volume) {
    int n = SlotNumber(soundNumber);
    SoundState& s = Sound();
    if (n < 0 || !s.slots) return -1;
    SoundSlot& slot = s.slots[n];
    if (slot.bufferCount == 0 || !slot.device) return -1;
    int panValue = NumberToInt(Clamped(pan, -1, 1) * 10000);
    int percent = NumberToInt(Clamped(volume, 0, 1) * 100);
    if (CopyPlaying(slot, slot.nextBuffer)) {
        // A one-copy sound still playing is not interrupted; otherwise the oldest copy is cut off.
        if (slot.bufferCount == 1) return -1;
        slot.nextBuffer = (slot.nextBuffer + 1) % slot.bufferCount;
    }
    int copy = slot.nextBuffer;
    if (!platform::ChannelPlay(slot.buffers[copy], slot.samples, percent * 100 - 10000, panValue)) return -1;
    return n * 256 + copy;
}

double SoundChannelPlaying(double channel) {
    int32_t handle = NumberToInt(channel);
    SoundState& s = Sound();
    if (handle < 0 || handle / 256 > kHighestSoundNumber || !s.slots) return 0;
    const SoundSlot& slot = s.slots[handle / 256];
    int copy = handle % 256;
    return copy < slot.bufferCount && CopyPlaying(slot, copy) ? 1 : 0;
}

void SoundStopAll() {
    SoundState& s = Sound();
    if (!s.slots) return;
    for (int n = 0; n <= kHighestSoundNumber; ++n)
        for (int32_t channel : s.slots[n].buffers) platform::ChannelHalt(channel);
}
