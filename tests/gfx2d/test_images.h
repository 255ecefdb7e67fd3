// Picture files the 2D tests make for themselves, the colours they use, and the start-up and
// read-back they share.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

constexpr int32_t kKey = 0x8000FF; // the colour key StartDrawing sets
constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kWhite = 0xFFFFFF, kGrey = 0x808080;

// Pixels as packed colours R + G*256 + B*65536, rows top to bottom.
struct TestPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> colours;
    uint32_t& At(int32_t x, int32_t y) { return colours[static_cast<size_t>(y) * width + x]; }
    uint32_t At(int32_t x, int32_t y) const { return colours[static_cast<size_t>(y) * width + x]; }
};

TestPicture Picture(int32_t width, int32_t height, const std::function<uint32_t(int32_t x, int32_t y)>& colourAt);
TestPicture SolidPicture(int32_t width, int32_t height, uint32_t colour);
// Quadrants red (top-left), green (top-right), blue and white (bottom).
TestPicture Quadrants(int32_t width, int32_t height);

// A 24-bit BMP with the info header.
std::vector<uint8_t> Bmp24(const TestPicture& picture);
// A BMP with the info header around a palette and pixel data given as stored.
std::vector<uint8_t> BmpRaw(int32_t width, int32_t height, int bits, uint32_t compression,
                            const std::vector<uint32_t>& palette, const std::vector<uint8_t>& data);
// A new file in the test's temporary folder; its path.
std::string WriteTestFile(const std::string& name, const std::vector<uint8_t>& bytes);
// The picture as a BMP file loaded into the sprite slot.
bool LoadPicture(int32_t id, const TestPicture& picture);

// The runtime with the 2D subsystem attached, a full-screen viewport, opaque drawing, a black screen.
void StartDrawing();
