// Fuzz target: the BMP decoder on arbitrary bytes, with and without a colour key.
#include "runtime/gfx2d/bmp_decoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImageRGBA image;
    DecodeBmp(image, data, size, size % 2 ? -1 : 0x8000FF);
    return 0;
}
