// Sound inside the runtime: the public commands (<tmv/sound.h>) and the subsystem's life and frame
// work; the records are in sound_state.h.
#pragma once

#include <tmv/sound.h>

// ---- Life (start-up and program end call these through the subsystem hooks)
void SoundCreate();  // the device record and the table of 2048 empty slots
double SoundInit();  // opens the mixer and logs its driver: 1, or 0 to run on without sound
void SoundDestroy(); // music stopped, slots released last first, then the mixer closed
void MusicUpkeep();              // the frame loop's restart of looping music
