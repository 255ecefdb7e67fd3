// DecodeBmp: Windows BMP decoding. Every header field is checked against the bytes actually present,
// and every run of a run-length file against the picture, so a damaged or hostile file fails instead
// of reading, writing or allocating beyond it.
#include "runtime/gfx2d/bmp_decoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <vector>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kV5HeaderSize = 124;
constexpr int64_t kMaxSide = 32767; // the sprite slot keeps sizes in 16 bits
constexpr uint32_t kUncompressed = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
// Run lengths reach at most 255 pixels for 2 bytes, but line ends and jumps skip any number: a tiny
// file may claim a huge picture. Past this many pixels a run-length picture needs one byte of data
// per 256 pixels, which every encoder's output has.
constexpr int64_t kFreeRunLengthPixels = 4096 * 4096;

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

// Palette entries beyond those the file holds stay black, so any index is safe.
using Palette = std::array<uint8_t, 256 * 4>;

size_t ReadPalette(Palette& palette, const uint8_t* data, size_t start, size_t end, size_t entrySize, size_t wanted) {
    size_t available = end > start ? (end - start) / entrySize : 0;
    size_t count = std::min({wanted, available, size_t{256}});
    for (size_t i = 0; i < count; ++i)
        for (size_t c = 0; c < 3; ++c) palette[i * 4 + c] = data[start + i * entrySize + c];
    return count;
}

// One colour channel of a 16- or 32-bit pixel: a run of set bits, widened to 0..255.
struct ChannelMask {
    uint32_t mask = 0;
    int shift = 0;
    uint64_t max = 0;
};

bool MakeChannelMask(uint32_t mask, ChannelMask& channel) {
    channel = {};
    if (mask == 0) return true;
    channel.mask = mask;
    channel.shift = std::countr_zero(mask);
    channel.max = mask >> channel.shift;
    return (channel.max & (channel.max + 1)) == 0; // the bits must lie together
}

uint8_t ChannelValue(uint32_t pixel, const ChannelMask& channel) {
    uint64_t value = (pixel & channel.mask) >> channel.shift;
    return static_cast<uint8_t>((value * 255 + channel.max / 2) / channel.max);
}

struct PixelMasks {
    ChannelMask red, green, blue, alpha;
};

struct BmpHeader {
    int64_t width = 0;
    int64_t height = 0;
    uint32_t bits = 0;
    uint32_t compression = kUncompressed;
    uint32_t masks[4] = {}; // red, green, blue, alpha as the file gives them
    Palette palette{};
    size_t paletteEntries = 0;
};

bool ReadCoreHeader(ByteReader& in, size_t offset, BmpHeader& h) {
    uint32_t w = 0, ht = 0, planes = 0;
    if (!in.Read(w, 2) || !in.Read(ht, 2) || !in.Read(planes, 2) || !in.Read(h.bits, 2)) return false;
    h.width = w;
    h.height = ht;
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 24 && h.bits != 32) return false;
    if (h.bits <= 8) h.paletteEntries = ReadPalette(h.palette, in.data, in.pos, offset, 3, size_t{1} << h.bits);
    return true;
}

// The info header and its V4 and V5 extensions share the first 40 bytes; the extensions carry the
// bit-field masks inside the header, the plain info header in the 12 bytes after it.
bool ReadInfoHeader(ByteReader& in, uint32_t headerSize, size_t offset, BmpHeader& h) {
    uint32_t w = 0, ht = 0, planes = 0, unused = 0;
    if (!in.Read(w, 4) || !in.Read(ht, 4) || !in.Read(planes, 2) || !in.Read(h.bits, 2) || !in.Read(h.compression, 4))
        return false;
    for (int i = 0; i < 5; ++i)
        if (!in.Read(unused, 4)) return false;
    h.width = static_cast<int32_t>(w);
    h.height = static_cast<int32_t>(ht);
    bool bitCount = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 || h.bits == 32;
    if (!bitCount) return false;
    switch (h.compression) {
    case kUncompressed:
        break;
    case kRle8:
        if (h.bits != 8) return false;
        break;
    case kRle4:
        if (h.bits != 4) return false;
        break;
    case kBitFields: {
        // Masks mean something only to 16 and 32 bits; other depths are read as they stand.
        if (h.bits != 16 && h.bits != 32) break;
        int count = headerSize == kInfoHeaderSize ? 3 : 4;
        if (offset < in.pos + 4 * static_cast<size_t>(count)) return false;
        for (int i = 0; i < count; ++i) in.Read(h.masks[i], 4);
        break;
    }
    default:
        return false;
    }
    if (h.bits <= 8) h.paletteEntries = ReadPalette(h.palette, in.data, kFileHeaderSize + headerSize, offset, 4, 256);
    return true;
}

// Without bit fields: 5-5-5 for 16 bits; blue, green, red bytes for 32 bits, the fourth ignored.
bool ChooseMasks(const BmpHeader& h, PixelMasks& m) {
    uint32_t red = h.masks[0], green = h.masks[1], blue = h.masks[2], alpha = h.masks[3];
    if (h.compression != kBitFields) {
        bool wide = h.bits == 32;
        red = wide ? 0xFF0000u : 0x7C00u;
        green = wide ? 0xFF00u : 0x3E0u;
        blue = wide ? 0xFFu : 0x1Fu;
        alpha = 0;
    }
    return MakeChannelMask(red, m.red) && MakeChannelMask(green, m.green) && MakeChannelMask(blue, m.blue) &&
           MakeChannelMask(alpha, m.alpha);
}

// Run-length data into palette indices, bottom row first. Pixels the file skips keep index 0. Runs and
// jumps stop at the row's end, since encoders such as ImageMagick's cover the padded row; a run above
// the top row, a jump past it, and data that ends before the picture does, fail.
bool DecodeRunLengths(const uint8_t* data, size_t size, int64_t width, int64_t height, bool nibbles,
                      std::vector<uint8_t>& indices) {
    indices.assign(static_cast<size_t>(width * height), 0);
    int64_t x = 0, y = 0;
    size_t pos = 0;
    auto put = [&](int64_t count, auto indexAt) {
        if (y >= height) return false;
        for (int64_t i = 0; i < std::min(count, width - x); ++i)
            indices[static_cast<size_t>(y * width + x + i)] = indexAt(i);
        x = std::min(x + count, width);
        return true;
    };
    while (size - pos >= 2) {
        uint8_t count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            auto repeated = [&](int64_t i) -> uint8_t { return nibbles ? (i & 1 ? value & 15 : value >> 4) : value; };
            if (!put(count, repeated)) return false;
        } else if (value == 0) { // end of line
            x = 0;
            if (++y > height) return false;
        } else if (value == 1) { // end of picture
            return true;
        } else if (value == 2) { // jump right and up
            if (size - pos < 2) return false;
            x = std::min(x + data[pos], width);
            y += data[pos + 1];
            pos += 2;
            if (y >= height) return false;
        } else { // a run of literal indices, padded to a whole number of 16-bit words
            size_t bytes = nibbles ? (value + 1u) / 2 : value;
            if (size - pos < bytes) return false;
            const uint8_t* literal = data + pos;
            auto listed = [&](int64_t i) -> uint8_t {
                return nibbles ? (i & 1 ? literal[i / 2] & 15 : literal[i / 2] >> 4) : literal[i];
            };
            if (!put(value, listed)) return false;
            pos += std::min(size - pos, bytes + (bytes & 1));
        }
    }
    return y >= height;
}

void StorePixel(uint8_t* out, uint8_t r, uint8_t g, uint8_t b, uint8_t a, int32_t key) {
    bool keyed = key != -1 && (r | g << 8 | b << 16) == key;
    out[0] = keyed ? 0 : r;
    out[1] = keyed ? 0 : g;
    out[2] = keyed ? 0 : b;
    out[3] = keyed ? 0 : a;
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

uint32_t PackedPixel(const uint8_t* row, int64_t x, uint32_t bits) {
    const uint8_t* p = row + x * (bits / 8);
    uint32_t pixel = p[0] | static_cast<uint32_t>(p[1]) << 8;
    if (bits == 32) pixel |= static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return pixel;
}

// Some writers give an alpha mask but leave its bits 0 in every pixel: such pictures load opaque.
bool AnyAlpha(const BmpHeader& h, const uint8_t* rows, int64_t stride, const ChannelMask& alpha) {
    if (!alpha.mask) return false;
    for (int64_t y = 0; y < h.height; ++y)
        for (int64_t x = 0; x < h.width; ++x)
            if (PackedPixel(rows + y * stride, x, h.bits) & alpha.mask) return true;
    return false;
}

// Rows of stored pixels, bottom row first, into the image.
void FillFromRows(ImageRGBA& image, const BmpHeader& h, const uint8_t* rows, int64_t stride, const PixelMasks& masks,
                  int32_t key) {
    bool packed = h.bits == 16 || h.bits == 32;
    bool alpha = packed && AnyAlpha(h, rows, stride, masks.alpha);
    uint8_t* out = image.pixels.data();
    for (int64_t y = 0; y < h.height; ++y) {
        const uint8_t* row = rows + (h.height - 1 - y) * stride;
        for (int64_t x = 0; x < h.width; ++x, out += 4) {
            if (packed) {
                uint32_t pixel = PackedPixel(row, x, h.bits);
                auto channel = [&](const ChannelMask& m) { return m.mask ? ChannelValue(pixel, m) : uint8_t{0}; };
                StorePixel(out, channel(masks.red), channel(masks.green), channel(masks.blue),
                           alpha ? ChannelValue(pixel, masks.alpha) : uint8_t{255}, key);
            } else {
                const uint8_t* bgr = h.bits == 24 ? row + x * 3 : &h.palette[PixelIndex(row, x, h.bits) * 4];
                StorePixel(out, bgr[2], bgr[1], bgr[0], 255, key);
            }
        }
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

    BmpHeader h;
    if (headerSize == kCoreHeaderSize) {
        if (!ReadCoreHeader(in, offset, h)) return false;
    } else if (headerSize == kInfoHeaderSize || headerSize == kV4HeaderSize || headerSize == kV5HeaderSize) {
        if (!ReadInfoHeader(in, headerSize, offset, h)) return false;
    } else {
        return false;
    }
    if (h.bits <= 8 && h.paletteEntries == 0) return false;
    // A negative height marks a top-down file; its rows are still taken bottom-up.
    if (h.height < 0) h.height = -h.height;
    if (h.width <= 0 || h.height <= 0 || h.width > kMaxSide || h.height > kMaxSide) return false;
    PixelMasks masks;
    if ((h.bits == 16 || h.bits == 32) && !ChooseMasks(h, masks)) return false;

    const uint8_t* pixels = data + offset;
    size_t available = size - offset;
    if (h.compression == kRle8 || h.compression == kRle4) {
        int64_t pixelCount = h.width * h.height;
        if (pixelCount > kFreeRunLengthPixels && pixelCount / 256 > static_cast<int64_t>(available)) return false;
        std::vector<uint8_t> indices;
        if (!DecodeRunLengths(pixels, available, h.width, h.height, h.compression == kRle4, indices)) return false;
        ImagePrepare(image, static_cast<int32_t>(h.width), static_cast<int32_t>(h.height));
        h.bits = 8; // the indices are one byte each now
        FillFromRows(image, h, indices.data(), h.width, masks, key);
        return true;
    }
    int64_t stride = (h.bits * h.width + 31) / 32 * 4;
    if (stride * h.height > static_cast<int64_t>(available)) return false;
    ImagePrepare(image, static_cast<int32_t>(h.width), static_cast<int32_t>(h.height));
    FillFromRows(image, h, pixels, stride, masks, key);
    return true;
}
