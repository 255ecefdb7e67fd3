// The sound system's life: the device and slot table made at start-up, the mixer opened by
// SoundInit, and everything released at program end.
#include "runtime/sound/sound.h"
#include "runtime/sound/sound_state.h"

bool SoundDevice::Open() {
    open_ = platform::MixerOpen(format_);
    return open_;
}

void SoundDevice::Close() {
    if (open_) platform::MixerClose();
    open_ = false;
}

SoundState& Sound() {
    static SoundState* state = new SoundState;
    return *state;
}

void SoundCreate() {
    SoundState& s = Sound();
    s.device = std::make_unique<SoundDevice>();
    s.slots = std::make_unique<SoundSlot[]>(kSoundSlotCount);
}

double SoundInit() {
    SoundState& s = Sound();
    if (!s.device || !s.slots || !s.device->Open()) return 0;
    for (int i = 0; i < kSoundSlotCount; ++i) s.slots[i].device = s.device.get();
    return 1;
}

void SoundDestroy() {
    SoundState& s = Sound();
    // The music and every chunk go before the mixer they play on.
    MusicStop();
    if (s.slots)
        for (int i = kSoundSlotCount - 1; i >= 0; --i) SoundSlotRelease(s.slots[i]);
    s.slots.reset();
    s.device.reset();
}
