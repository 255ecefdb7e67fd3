// ImageRGBA: a decoded picture, 4 bytes per pixel (R, G, B, A), rows top to bottom.
#pragma once

#include <cstdint>
#include <vector>

struct ImageRGBA {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels; // its size is the buffer's capacity
};

// Sizes the image and zero-fills it; the buffer is reused when it is large enough.
void ImagePrepare(ImageRGBA& image, int32_t width, int32_t height);
// Frees the pixel buffer.
void ImageRelease(ImageRGBA& image);
