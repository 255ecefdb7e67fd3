// Fuzz target: the PNG decoder on arbitrary bytes, with and without a colour key. Chunk checksums are
// recomputed first, so that mutations reach past libpng's CRC test into the chunk and row decoding.
#include "runtime/gfx2d/png_decoder.h"

#include <cstddef>
#include <cstdint>
#include <vector>
#include <zlib.h>

namespace {

uint32_t BigEndian(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}

void FixChunkChecksums(std::vector<uint8_t>& bytes) {
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        uint32_t length = BigEndian(&bytes[at]);
        if (length > bytes.size() - at - 12) return;
        uint32_t crc = static_cast<uint32_t>(crc32(0, &bytes[at + 4], length + 4));
        for (int i = 0; i < 4; ++i) bytes[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    FixChunkChecksums(bytes);
    ImageRGBA image;
    DecodePng(image, bytes.data(), bytes.size(), size % 2 ? -1 : 0x8000FF, "fuzz.png");
    return 0;
}
