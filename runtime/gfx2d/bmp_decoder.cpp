// DecodeBmp: Windows BMP decoding. Every header field is checked against the bytes actually present,
// so a damaged or hostile file fails instead of reading or allocating beyond it.
#include "runtime/gfx2d/bmp_decoder.h"

#include <algorithm>
#include <array>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr int64_t kMaxSide = 32767; // the sprite slot keeps sizes in 16 bits
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kBitFields = 3;

struct ByteReader {
    const uint8_t* data;
    size_t size;
    size_t pos;

    bool Read(uint32_t& value, int bytes) {
        if (size - pos < static_cast<size_t>(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(data[pos + i]) << (8 * i);
        pos += static_cast<size_t>(bytes);
        return true;
    }
};

bool SupportedBitCount(uint32_t bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32; }

// Palette entries beyond those the file holds stay black, so any index is safe.
using Palette = std::array<uint8_t, 256 * 4>;

size_t ReadPalette(Palette& palette, const uint8_t* data, size_t start, size_t end, size_t entrySize, size_t wanted) {
    size_t available = end > start ? (end - start) / entrySize : 0;
    size_t count = std::min({wanted, available, size_t{256}});
    for (size_t i = 0; i < count; ++i)
        for (size_t c = 0; c < 3; ++c) palette[i * 4 + c] = data[start + i * entrySize + c];
    return count;
}

uint32_t PixelIndex(const uint8_t* row, int64_t x, uint32_t bits) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default:
        return row[x];
    }
}

} // namespace

bool DecodeBmp(ImageRGBA& image, const uint8_t* data, size_t size, int32_t key) {
    ByteReader in{data, size, 0};
    uint32_t magic = 0, fileSize = 0, reserved = 0, offset = 0, headerSize = 0;
    if (!in.Read(magic, 2) || magic != 0x4D42) return false;
    if (!in.Read(fileSize, 4) || !in.Read(reserved, 2) || !in.Read(reserved, 2) || !in.Read(offset, 4)) return false;
    if (!in.Read(headerSize, 4)) return false;
    if (offset > size || offset < kFileHeaderSize + headerSize) return false;

    int64_t width = 0, height = 0;
    uint32_t bits = 0;
    Palette palette{};
    size_t paletteEntries = 0;
    if (headerSize == kCoreHeaderSize) {
        uint32_t w = 0, h = 0, planes = 0;
        if (!in.Read(w, 2) || !in.Read(h, 2) || !in.Read(planes, 2) || !in.Read(bits, 2)) return false;
        width = w;
        height = h;
        if (!SupportedBitCount(bits)) return false;
        if (bits <= 8) paletteEntries = ReadPalette(palette, data, in.pos, offset, 3, size_t{1} << bits);
    } else if (headerSize == kInfoHeaderSize) {
        uint32_t w = 0, h = 0, planes = 0, compression = 0;
        if (!in.Read(w, 4) || !in.Read(h, 4) || !in.Read(planes, 2) || !in.Read(bits, 2) || !in.Read(compression, 4))
            return false;
        width = static_cast<int32_t>(w);
        height = static_cast<int32_t>(h);
        if (!SupportedBitCount(bits)) return false;
        // Run-length data read as plain rows would be garbage.
        if (compression != kUncompressed && compression != kBitFields) return false;
        if (bits <= 8) paletteEntries = ReadPalette(palette, data, kFileHeaderSize + kInfoHeaderSize, offset, 4, 256);
    } else {
        return false;
    }
    if (bits <= 8 && paletteEntries == 0) return false;
    // A negative height marks a top-down file; its rows are still taken bottom-up.
    if (height < 0) height = -height;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    int64_t stride = (bits * width + 31) / 32 * 4;
    if (stride * height > static_cast<int64_t>(size - offset)) return false;

    ImagePrepare(image, static_cast<int32_t>(width), static_cast<int32_t>(height));
    uint8_t* out = image.pixels.data();
    for (int64_t y = 0; y < height; ++y) {
        const uint8_t* row = data + offset + (height - 1 - y) * stride;
        for (int64_t x = 0; x < width; ++x, out += 4) {
            const uint8_t* bgr = bits > 8 ? row + x * (bits / 8) : &palette[PixelIndex(row, x, bits) * 4];
            out[0] = bgr[2];
            out[1] = bgr[1];
            out[2] = bgr[0];
            out[3] = 255;
            if (key != -1 && (out[0] | out[1] << 8 | out[2] << 16) == key) out[0] = out[1] = out[2] = out[3] = 0;
        }
    }
    return true;
}
