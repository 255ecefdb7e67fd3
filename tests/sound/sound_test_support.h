// What the sound tests share: WAV files built chunk by chunk, and the mixer opened on SDL's disk
// driver so that the mixed output can be read back and measured.
#pragma once

#include "tests/support/headless.h"

#include <cstdint>
#include <string>
#include <vector>

// ---- WAV files
std::string Chunk(const char* id, const std::string& body, bool pad = true);
std::string FmtBody(int tag, int channels, int rate, int blockAlign, int bits, const std::string& extra = "");
std::string Riff(const std::string& chunks);
std::string PcmWav(int channels, int rate, int bits, const std::vector<int16_t>& samples);
// Interleaved frames of a sine, the same on every channel.
std::vector<int16_t> Sine(size_t frames, int channels, int rate, double hz, double amplitude);

// ---- Mixed output: 16-bit stereo frames
struct Mixed {
    std::vector<int16_t> samples;
    int16_t At(size_t frame, int side) const { return samples[frame * 2 + static_cast<size_t>(side)]; }
};

// Frames first to end-1, where something sounds.
struct Stretch {
    size_t first, end;
    size_t Length() const { return end - first; }
};

// Opens the sound system on the disk driver, which pauses delayMs per mixed buffer (-1: real time,
// where the order of plays against the output matters).
class DiskOutput {
  public:
    explicit DiskOutput(int delayMs);
    // Closes the sound system (a dummy device takes its place) and reads what was mixed.
    Mixed Close();
    // Until the driver has written this many more buffers.
    void WaitBuffers(int count) const;

  private:
    std::string path_;
};

// The sound system restarted on the driver named (none: the system's choice); SoundInit's result.
double OpenSound(const char* driver = "dummy");

// Sounding stretches, joined across silences shorter than minGap frames.
std::vector<Stretch> Stretches(const Mixed& mixed, size_t minGap = 256);
double Rms(const Mixed& mixed, Stretch s, int side);
