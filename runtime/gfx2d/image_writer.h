// Writing pictures as BMP or PNG files from the bottom-up BGR rows that OpenGL reads back.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The picture handed to the writers: `height` rows of `pitch` pixels, bottom row first, bytes B, G, R
// with no padding; the top-left `width` x `height` pixels are written. `key` is the colour key as the
// framebuffer stores it (R << 24 | G << 16 | B << 8, from KeyColourProbe); 0 means no key.
struct BgrPicture {
    const uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t pitch;
    uint32_t key;
};

// 24-bit BMP, rows bottom first; key pixels are written as exactly (R 255, G 0, B 128).
std::vector<uint8_t> EncodeBmp(const BgrPicture& picture);
// 8-bit RGBA PNG, top row first; key pixels get alpha 0. Empty when libpng fails.
std::vector<uint8_t> EncodePng(const BgrPicture& picture);
// PNG when the name ends in ".png" (either case), else BMP; any old file is replaced. An empty
// picture is refused rather than written as a file no reader accepts.
bool ImageWrite(std::string_view name, const BgrPicture& picture);
