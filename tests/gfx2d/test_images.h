// Picture files the 2D tests make for themselves: BMPs of every layout the decoder reads, PNGs
// through libpng, and the sprite start-up and texture read-back the tests share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pixels as packed colours R + G*256 + B*65536, rows top to bottom.
struct TestPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> colours;
    uint32_t At(int32_t x, int32_t y) const { return colours[static_cast<size_t>(y) * width + x]; }
};

TestPicture SolidPicture(int32_t width, int32_t height, uint32_t colour);

// A 24-bit BMP with the info header; topDown writes a top-down file (negative height, top row first).
std::vector<uint8_t> Bmp24(const TestPicture& picture, bool topDown = false);
// A palette BMP (1, 4 or 8 bits) with the info header; every colour must be in the palette.
std::vector<uint8_t> BmpPalette(const TestPicture& picture, int bits, const std::vector<uint32_t>& palette);
// RGB or grey (colour bytes' red used) or RGBA (alpha from the high byte) PNG.
enum class PngKind { Grey, Rgb, Rgba };
std::vector<uint8_t> Png(const TestPicture& picture, PngKind kind, const std::vector<uint8_t>& alphas = {});
// A PNG put together chunk by chunk: the IHDR of the given depth and colour type, the extra chunks
// (type and data) before the image data, and the unfiltered rows deflated into one IDAT.
struct PngChunk {
    std::string type;
    std::vector<uint8_t> data;
};
std::vector<uint8_t> RawPng(int32_t width, int32_t height, int depth, int colourType,
                            const std::vector<std::vector<uint8_t>>& rows, const std::vector<PngChunk>& extra = {});

// The bytes written to a new file in the test's temporary folder; its path.
std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes);

// The runtime with the 2D subsystem attached, a full-screen viewport, opaque drawing, a black screen.
void StartDrawing();
// A texture's level 0 as RGBA bytes.
std::vector<uint8_t> TextureTexels(uint32_t texture, int32_t width, int32_t height);
