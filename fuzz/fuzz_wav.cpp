// Fuzz target: the WAV reader and the conversion of what it accepts to the mixer's format.
#include "platform/audio_convert.h"
#include "runtime/sound/wav_reader.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WavSound wav;
    if (!ReadWav(data, size, wav)) return 0;
    std::vector<uint8_t> samples;
    // A small cap keeps the fuzzer's memory in bounds; the cap's own check is what is exercised.
    platform::ConvertPcm(wav.format, wav.data, wav.size, {22050, 2}, 16 << 20, samples);
    return 0;
}
