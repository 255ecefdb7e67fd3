// The sound system's life: the device and slot table made at start-up, the mixer opened by
// SoundInit, and everything released at program end.
#include "runtime/core/core.h"
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

// The log says which driver plays, or that none could: the libraries themselves are kept quiet.
double SoundInit() {
    SoundState& s = Sound();
    if (!s.device || !s.slots) return 0;
    if (!s.device->Open()) {
        WriteErrorLog("Sound driver: none");
        return 0;
    }
    WriteErrorLog(("Sound driver: " + platform::MixerDriver()).c_str());
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
