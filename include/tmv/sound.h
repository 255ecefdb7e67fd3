// Sound: effects from WAV files in slots 0 to 127 with up to four overlapping copies, and one piece
// of music. Volume 0..1 maps linearly in decibels (1 full, 0.5 -50 dB, 0 silent); pan -1 left .. 1
// right. Without a sound device loads give 0 and nothing plays; the runtime log names the audio
// driver chosen ("Sound driver: pulseaudio") or says there is none.
//
//   Effects  SoundLoad SoundPlay SoundChannelPlaying SoundStopAll
//   Music    MusicPlay MusicStop MusicVolume MusicPlaying
#pragma once

#include "rt_string.h"

// ---- Effects (sound numbers above 127 use slot 127; negative ones address nothing)
double SoundLoad(const RtString& file, double soundNumber, double copies); // copies 1..4; 1 or 0
double SoundPlay(double soundNumber, double pan, double volume);           // handle n * 256 + copy, or -1
double SoundChannelPlaying(double channel);                                // 1 while that copy plays
void SoundStopAll();                                                       // every copy stopped and rewound

// ---- Music (any format the mixer decodes; files resolved through the packed archive)
void MusicPlay(const RtString& file, double loop); // loop: restart at its end, pieces under 500 ms as 500
void MusicStop();
void MusicVolume(double volume); // 0..1
double MusicPlaying();           // 1 while looping or still playing
