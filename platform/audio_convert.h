// Sample conversion: a sound's own PCM to the mixer's 16-bit samples at the mixer's rate and channels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Interleaved PCM as a file holds it: 8-bit unsigned or 16-bit signed little-endian samples.
struct PcmFormat {
    int channels;
    int rate;
    int bits;
};

// What the mixer plays: 16-bit signed native-endian samples.
struct MixerFormat {
    int rate;
    int channels;
};

// Converts whole frames of `from` into out. False when the result would exceed maxBytes (checked
// before anything is allocated) or the conversion fails; out is then empty.
bool ConvertPcm(const PcmFormat& from, const uint8_t* data, size_t size, const MixerFormat& to, size_t maxBytes,
                std::vector<uint8_t>& out);

} // namespace platform
