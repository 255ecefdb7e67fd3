// DecodePng: libpng reads from memory; its errors come back to us as a failed decode, never as an
// abort, and the picture's size is bounded before anything is allocated for it.
#include "runtime/gfx2d/png_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

namespace {

constexpr png_uint_32 kMaxSide = 32767; // the sprite slot keeps sizes in 16 bits
// Deflate never expands a byte into more than 1032: a picture whose rows could not come out of a file
// this size is damaged, and refusing it keeps a tiny file from claiming gigabytes.
constexpr uint64_t kMaxInflateRatio = 1032;
// No chunk we read comes near this (a palette is 768 bytes); a few bytes declaring a larger one must
// not make libpng allocate it.
constexpr png_alloc_size_t kMaxChunkBytes = 1 << 20;

struct PngSource {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
    if (count > source->size - source->pos) png_error(png, "truncated");
    std::memcpy(out, source->data + source->pos, count);
    source->pos += count;
}

void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

struct PngReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngSource source{};
    std::vector<uint8_t> rows;
    std::vector<png_bytep> rowPointers;
    ~PngReadState() { png_destroy_read_struct(&png, &info, nullptr); }
};

void ConvertRows(const PngReadState& s, ImageRGBA& image, int channels, size_t rowBytes, int32_t key) {
    uint8_t* out = image.pixels.data();
    for (int32_t y = 0; y < image.height; ++y) {
        const uint8_t* in = s.rows.data() + static_cast<size_t>(y) * rowBytes;
        for (int32_t x = 0; x < image.width; ++x, out += 4, in += channels) {
            if (channels == 4) {
                std::memcpy(out, in, 4);
            } else if (channels == 3) {
                bool keyed = key != -1 && (in[0] | in[1] << 8 | in[2] << 16) == key;
                out[0] = keyed ? 0 : in[0];
                out[1] = keyed ? 0 : in[1];
                out[2] = keyed ? 0 : in[2];
                out[3] = keyed ? 0 : 255;
            } else {
                out[0] = out[1] = out[2] = in[0];
                out[3] = channels == 2 ? in[1] : 255;
            }
        }
    }
}

// Everything libpng may jump out of lives in the caller's state, so nothing here is left half-built.
bool ReadPng(PngReadState& s, ImageRGBA& image, int32_t key, const char* name) {
    if (setjmp(png_jmpbuf(s.png))) return false;
    png_set_read_fn(s.png, &s.source, ReadFromMemory);
    png_set_user_limits(s.png, kMaxSide, kMaxSide);
    png_set_chunk_malloc_max(s.png, kMaxChunkBytes);
    // Text, profiles and the other ancillary chunks (all but tRNS) change nothing we decode: skipped
    // unread, whatever size they declare.
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(s.png, s.info);
    png_uint_32 width = png_get_image_width(s.png, s.info);
    png_uint_32 height = png_get_image_height(s.png, s.info);
    if (static_cast<uint64_t>(png_get_rowbytes(s.png, s.info)) * height > kMaxInflateRatio * s.source.size)
        return false;

    int colourType = png_get_color_type(s.png, s.info);
    int depth = png_get_bit_depth(s.png, s.info);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(s.png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(s.png);
    if (png_get_valid(s.png, s.info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(s.png);
    if (depth == 16) png_set_strip_16(s.png);
    if (depth < 8) png_set_packing(s.png);
    png_set_interlace_handling(s.png);
    png_read_update_info(s.png, s.info);

    int channels = png_get_channels(s.png, s.info);
    if (channels < 1 || channels > 4) return false;
    depth = png_get_bit_depth(s.png, s.info);
    if (depth != 8) {
        std::printf("File %s has bit depth %d.\n", name, depth);
        std::printf("Only bit depth of 8 is supported.");
        return false;
    }
    colourType = png_get_color_type(s.png, s.info);
    if (colourType != PNG_COLOR_TYPE_GRAY && colourType != PNG_COLOR_TYPE_GRAY_ALPHA &&
        colourType != PNG_COLOR_TYPE_RGB && colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
        std::printf("File %s has unsupported color type.\n", name);
        std::printf("Types GRAY, RGB and RGB_ALPHA are supported.");
        return false;
    }
    size_t rowBytes = png_get_rowbytes(s.png, s.info);
    s.rows.resize(rowBytes * height);
    s.rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) s.rowPointers[y] = s.rows.data() + y * rowBytes;
    png_read_image(s.png, s.rowPointers.data());

    ImagePrepare(image, static_cast<int32_t>(width), static_cast<int32_t>(height));
    ConvertRows(s, image, channels, rowBytes, key);
    return true;
}

} // namespace

bool DecodePng(ImageRGBA& image, const uint8_t* data, size_t size, int32_t key, const char* name) {
    PngReadState s;
    s.source = {data, size, 0};
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, IgnoreWarning);
    if (!s.png) return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return false;
    if (ReadPng(s, image, key, name)) return true;
    std::fflush(stdout);
    return false;
}
