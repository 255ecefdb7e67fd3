// Writing pictures as BMP or PNG files: the BMP layout by hand, PNG through libpng into memory.
#include "runtime/gfx2d/image_writer.h"

#include "platform/files.h"

#include <csetjmp>
#include <png.h>
#include <string>

namespace {

const uint8_t* Pixel(const BgrPicture& p, int32_t x, int32_t row) {
    return p.pixels + (static_cast<size_t>(row) * static_cast<size_t>(p.pitch) + static_cast<size_t>(x)) * 3;
}

bool IsKey(const BgrPicture& p, const uint8_t* bgr) {
    uint32_t stored =
        static_cast<uint32_t>(bgr[2]) << 24 | static_cast<uint32_t>(bgr[1]) << 16 | static_cast<uint32_t>(bgr[0]) << 8;
    return p.key != 0 && stored == p.key;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void IgnoreFlush(png_structp) {}

// Only plain data lives in this frame: libpng leaves it by longjmp on an error.
bool WritePngRows(png_structp png, png_infop info, const BgrPicture& p, std::vector<uint8_t>* out, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, out, AppendToVector, IgnoreFlush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::vector<uint8_t> EncodeBmp(const BgrPicture& p) {
    uint32_t rowSize = (3 * static_cast<uint32_t>(p.width) + 3) & ~3u;
    uint32_t dataSize = rowSize * static_cast<uint32_t>(p.height);
    std::vector<uint8_t> out;
    out.reserve(54 + dataSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + dataSize);
    Put32(out, 0); // two reserved 16-bit fields
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(p.width));
    Put32(out, static_cast<uint32_t>(p.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0); // no compression
    Put32(out, 0); // image size, may be 0 when uncompressed
    Put32(out, 10000);
    Put32(out, 10000);
    Put32(out, 0);
    Put32(out, 0);
    for (int32_t row = 0; row < p.height; ++row) {
        size_t start = out.size();
        for (int32_t x = 0; x < p.width; ++x) {
            const uint8_t* bgr = Pixel(p, x, row);
            if (IsKey(p, bgr))
                out.insert(out.end(), {128, 0, 255});
            else
                out.insert(out.end(), bgr, bgr + 3);
        }
        out.resize(start + rowSize, 0);
    }
    return out;
}

std::vector<uint8_t> EncodePng(const BgrPicture& p) {
    size_t w = static_cast<size_t>(p.width), h = static_cast<size_t>(p.height);
    std::vector<uint8_t> rgba(w * h * 4);
    std::vector<png_bytep> rows(h);
    for (size_t y = 0; y < h; ++y) {
        uint8_t* dst = &rgba[y * w * 4];
        rows[y] = dst;
        for (size_t x = 0; x < w; ++x, dst += 4) {
            // The first PNG row is the top row, the last one of the bottom-first buffer.
            const uint8_t* bgr = Pixel(p, static_cast<int32_t>(x), static_cast<int32_t>(h - 1 - y));
            dst[0] = bgr[2];
            dst[1] = bgr[1];
            dst[2] = bgr[0];
            dst[3] = IsKey(p, bgr) ? 0 : 255;
        }
    }
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = info && WritePngRows(png, info, p, &out, rows.data());
    png_destroy_write_struct(&png, &info);
    if (!ok) out.clear();
    return out;
}

bool ImageWrite(std::string_view name, const BgrPicture& picture) {
    if (picture.width < 1 || picture.height < 1) return false;
    bool png = false;
    if (name.size() > 4) {
        std::string ext(name.substr(name.size() - 4));
        for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        png = ext == ".png";
    }
    std::vector<uint8_t> bytes = png ? EncodePng(picture) : EncodeBmp(picture);
    if (bytes.empty()) return false;
    // The old file is deleted and the picture written anew, as every rewrite of the runtime does.
    platform::File file = platform::CreateAlways(std::string(name));
    return file.IsOpen() && file.Write(bytes.data(), bytes.size());
}
