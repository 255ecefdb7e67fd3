// ConvertToNormalMap: Sobel slopes of the blue channel as normals packed into R, G, B.
#include "runtime/gfx2d/normal_map.h"

#include <cmath>
#include <vector>

void ConvertToNormalMap(uint8_t* pixels, int32_t width, int32_t height) {
    std::vector<uint8_t> source(pixels, pixels + static_cast<size_t>(width) * height * 4);
    auto h = [&](int32_t x, int32_t y) {
        x = ((x % width) + width) % width;
        y = ((y % height) + height) % height;
        return source[(static_cast<size_t>(y) * width + x) * 4 + 2] / 255.0;
    };
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            double sx = (h(x - 1, y - 1) + 2 * h(x - 1, y) + h(x - 1, y + 1)) -
                        (h(x + 1, y - 1) + 2 * h(x + 1, y) + h(x + 1, y + 1));
            double sy = (h(x - 1, y + 1) + 2 * h(x, y + 1) + h(x + 1, y + 1)) -
                        (h(x - 1, y - 1) + 2 * h(x, y - 1) + h(x + 1, y - 1));
            double length = std::sqrt(sx * sx + sy * sy + 1);
            uint8_t* out = pixels + (static_cast<size_t>(y) * width + x) * 4;
            out[0] = static_cast<uint8_t>((sx / length + 1) * 0.5 * 255);
            out[1] = static_cast<uint8_t>((sy / length + 1) * 0.5 * 255);
            out[2] = static_cast<uint8_t>((1 / length + 1) * 0.5 * 255);
        }
    }
}
