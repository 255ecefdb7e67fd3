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
// Reads the whole file (up to 1 GiB) into bytes, then the WAV in them.
bool ReadWavFile(const std::string& path, std::vector<uint8_t>& bytes, WavSound& wav);
