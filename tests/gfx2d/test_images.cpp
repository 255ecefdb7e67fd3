// Picture files the 2D tests make for themselves, and the start-up and read-back they share.
#include "tests/gfx2d/test_images.h"

#include "platform/paths.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <algorithm>
#include <fstream>
#include <png.h>
#include <zlib.h>

namespace {

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

std::vector<uint8_t> BmpHeaders(int32_t width, int32_t height, int bits, size_t paletteBytes, size_t dataBytes) {
    std::vector<uint8_t> out;
    uint32_t offset = static_cast<uint32_t>(54 + paletteBytes);
    Put(out, 0x4D42, 2);
    Put(out, static_cast<uint32_t>(offset + dataBytes), 4);
    Put(out, 0, 4);
    Put(out, offset, 4);
    Put(out, 40, 4);
    Put(out, static_cast<uint32_t>(width), 4);
    Put(out, static_cast<uint32_t>(height), 4);
    Put(out, 1, 2);
    Put(out, static_cast<uint32_t>(bits), 2);
    for (int i = 0; i < 6; ++i) Put(out, 0, 4);
    return out;
}

} // namespace

TestPicture SolidPicture(int32_t width, int32_t height, uint32_t colour) {
    return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

std::vector<uint8_t> Bmp24(const TestPicture& p, bool topDown) {
    size_t stride = (static_cast<size_t>(p.width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> out = BmpHeaders(p.width, topDown ? -p.height : p.height, 24, 0, stride * p.height);
    for (int32_t row = 0; row < p.height; ++row) {
        // A top-down file stores its top row first.
        int32_t y = topDown ? row : p.height - 1 - row;
        for (int32_t x = 0; x < p.width; ++x) {
            uint32_t c = p.At(x, y);
            out.push_back(static_cast<uint8_t>(c >> 16));
            out.push_back(static_cast<uint8_t>(c >> 8));
            out.push_back(static_cast<uint8_t>(c));
        }
        out.resize(out.size() + stride - static_cast<size_t>(p.width) * 3);
    }
    return out;
}

std::vector<uint8_t> BmpPalette(const TestPicture& p, int bits, const std::vector<uint32_t>& palette) {
    size_t stride = (static_cast<size_t>(bits) * p.width + 31) / 32 * 4;
    std::vector<uint8_t> out = BmpHeaders(p.width, p.height, bits, palette.size() * 4, stride * p.height);
    for (uint32_t c : palette) Put(out, (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF), 4);
    for (int32_t row = 0; row < p.height; ++row) {
        std::vector<uint8_t> line(stride);
        for (int32_t x = 0; x < p.width; ++x) {
            uint32_t index = 0;
            while (palette[index] != p.At(x, p.height - 1 - row)) ++index;
            size_t bit = static_cast<size_t>(x) * bits;
            line[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

std::vector<uint8_t> Png(const TestPicture& p, PngKind kind, const std::vector<uint8_t>& alphas) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(p.width);
    image.height = static_cast<png_uint_32>(p.height);
    image.format = kind == PngKind::Grey ? PNG_FORMAT_GRAY : kind == PngKind::Rgb ? PNG_FORMAT_RGB : PNG_FORMAT_RGBA;
    int channels = kind == PngKind::Grey ? 1 : kind == PngKind::Rgb ? 3 : 4;
    std::vector<uint8_t> pixels;
    for (size_t i = 0; i < p.colours.size(); ++i) {
        uint32_t c = p.colours[i];
        for (int ch = 0; ch < std::min(channels, 3); ++ch) pixels.push_back(static_cast<uint8_t>(c >> (8 * ch)));
        if (channels == 4) pixels.push_back(alphas.empty() ? 255 : alphas[i]);
    }
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr);
    std::vector<uint8_t> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, nullptr);
    out.resize(size);
    return out;
}

std::vector<uint8_t> RawPng(int32_t width, int32_t height, int depth, int colourType,
                            const std::vector<std::vector<uint8_t>>& rows, const std::vector<PngChunk>& extra) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto bigEndian = [](std::vector<uint8_t>& to, uint32_t v) {
        for (int i = 3; i >= 0; --i) to.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto chunk = [&](const std::string& type, const std::vector<uint8_t>& data) {
        bigEndian(out, static_cast<uint32_t>(data.size()));
        std::vector<uint8_t> body(type.begin(), type.end());
        body.insert(body.end(), data.begin(), data.end());
        out.insert(out.end(), body.begin(), body.end());
        bigEndian(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
    };
    std::vector<uint8_t> header;
    bigEndian(header, static_cast<uint32_t>(width));
    bigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {static_cast<uint8_t>(depth), static_cast<uint8_t>(colourType), 0, 0, 0});
    chunk("IHDR", header);
    for (const PngChunk& c : extra) chunk(c.type, c.data);
    std::vector<uint8_t> raw;
    for (const std::vector<uint8_t>& row : rows) {
        raw.push_back(0);
        raw.insert(raw.end(), row.begin(), row.end());
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> deflated(size);
    compress(deflated.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    deflated.resize(size);
    chunk("IDAT", deflated);
    chunk("IEND", {});
    return out;
}

std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    std::string path = platform::TempDir() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void StartDrawing() {
    AttachSubsystems();
    StartRuntime();
    SetColourKey(0x8000FF);
    SetBlendMode(0);
    SetViewport(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::vector<uint8_t> TextureTexels(uint32_t texture, int32_t width, int32_t height) {
    std::vector<uint8_t> texels(static_cast<size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}
