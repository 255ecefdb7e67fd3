// Reading RIFF/WAVE files held in memory: the chunk walk to "fmt " and "data", trusting nothing.
#pragma once

#include "platform/audio_convert.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The PCM a WAV file holds: a view into the file's bytes, cut to whole frames.
struct WavSound {
    platform::PcmFormat format{};
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// True for PCM with 1 or 2 channels of 8 or 16 bits at 100 to 200000 Hz, whose non-empty data
// chunk lies inside the bytes; anything else is refused.
bool ReadWav(const uint8_t* bytes, size_t size, WavSound& wav);
// Reads the whole file into bytes, then the WAV in them. Files above 1 GiB, and those that do not
// start as RIFF WAVE, are refused before the rest is read.
bool ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes, WavSound& wav);
