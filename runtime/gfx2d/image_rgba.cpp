// Sizing and releasing the pixel buffer of an ImageRGBA.
#include "runtime/gfx2d/image_rgba.h"

#include <algorithm>

void ImagePrepare(ImageRGBA& image, int32_t width, int32_t height) {
    size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
    if (image.pixels.size() < bytes) {
        image.pixels.clear();
        image.pixels.shrink_to_fit();
        image.pixels.resize(bytes);
    }
    std::fill_n(image.pixels.begin(), bytes, 0);
    image.width = width;
    image.height = height;
}

void ImageRelease(ImageRGBA& image) {
    image.pixels.clear();
    image.pixels.shrink_to_fit();
    image.width = 0;
    image.height = 0;
}
