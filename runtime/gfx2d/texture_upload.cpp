// TextureUpload: the texel buffer (flipped, padded to powers of two, edge-filled), the drawable texture
// and the mip-mapped copy for the 3D part.
#include "runtime/gfx2d/texture_upload.h"

#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/normal_map.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

void SetUnpackState() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

// Transparent texels take the mean colour of their opaque neighbours, so filtered drawing blends
// towards that colour at the edges instead of towards black. Neighbours on the border rows and columns
// never count.
void FillEdgeColours(std::vector<uint8_t>& texels, int32_t width, int32_t height) {
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* texel = &texels[(static_cast<size_t>(y) * width + x) * 4];
            if (texel[3] != 0) continue;
            int sum[3] = {0, 0, 0};
            int count = 0;
            for (int32_t ny = y - 1; ny <= y + 1; ++ny) {
                for (int32_t nx = x - 1; nx <= x + 1; ++nx) {
                    if ((nx == x && ny == y) || nx <= 0 || nx >= width - 1 || ny <= 0 || ny >= height - 1) continue;
                    const uint8_t* n = &texels[(static_cast<size_t>(ny) * width + nx) * 4];
                    if (n[3] == 0) continue;
                    for (int c = 0; c < 3; ++c) sum[c] += n[c];
                    ++count;
                }
            }
            for (int c = 0; c < 3; ++c) texel[c] = static_cast<uint8_t>(count ? sum[c] / count : 0);
        }
    }
}

void HalveWidth(std::vector<uint8_t>& texels, int32_t& width, int32_t height) {
    int32_t half = width / 2;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < half; ++x)
            for (int c = 0; c < 4; ++c)
                texels[(static_cast<size_t>(y) * half + x) * 4 + c] =
                    static_cast<uint8_t>((texels[(static_cast<size_t>(y) * width + 2 * x) * 4 + c] +
                                          texels[(static_cast<size_t>(y) * width + 2 * x + 1) * 4 + c]) >>
                                         1);
    width = half;
}

void HalveHeight(std::vector<uint8_t>& texels, int32_t width, int32_t& height) {
    int32_t half = height / 2;
    size_t row = static_cast<size_t>(width) * 4;
    for (int32_t y = 0; y < half; ++y)
        for (size_t i = 0; i < row; ++i)
            texels[y * row + i] = static_cast<uint8_t>((texels[2 * y * row + i] + texels[(2 * y + 1) * row + i]) >> 1);
    height = half;
}

// The next mip level of a square buffer whose side is a power of two above 1, in place: a 2 x 2 box
// filter.
void NextMipLevel(std::vector<uint8_t>& texels, int32_t& side) {
    int32_t half = side / 2;
    for (int32_t y = 0; y < half; ++y) {
        for (int32_t x = 0; x < half; ++x) {
            for (int c = 0; c < 4; ++c) {
                auto at = [&](int32_t px, int32_t py) { return texels[(static_cast<size_t>(py) * side + px) * 4 + c]; };
                texels[(static_cast<size_t>(y) * half + x) * 4 + c] = static_cast<uint8_t>(
                    (at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1)) / 4);
            }
        }
    }
    side = half;
}

void UploadMipTexture(std::vector<uint8_t>& texels, int32_t width, int32_t height, uint32_t& mipTexture) {
    glGenTextures(1, &mipTexture);
    GlBindTexture(0, mipTexture);
    GlTextureWrap(GL_REPEAT);
    // Two filters the record does not keep as a pair: it forgets this texture's.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    GlStateRecord().textures.erase(mipTexture);
    while (width > height) HalveWidth(texels, width, height);
    while (height > width) HalveHeight(texels, width, height);
    int32_t side = width;
    for (GLint level = 0;; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        if (side == 1) break;
        NextMipLevel(texels, side);
    }
}

} // namespace

int32_t PowerOfTwoAtLeast(int64_t side, int32_t minimum) {
    int64_t p = minimum;
    while (p < side) p *= 2;
    return static_cast<int32_t>(p);
}

uint32_t NewTexture(int32_t width, int32_t height, bool nearest, const uint8_t* texels) {
    GlFlushQuads();
    SetUnpackState();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    GlBindTexture(0, texture);
    GlTextureWrap(GL_REPEAT);
    GlTextureFilter(nearest ? GL_NEAREST : GL_LINEAR);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    return texture;
}

std::vector<uint8_t> TexelBuffer(const ImageRGBA& image, int32_t x, int32_t y, int32_t w, int32_t h, bool normalMap,
                                 bool nearest, int32_t& texWidth, int32_t& texHeight) {
    if (!GlReady()) return {};
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (w == 0) w = image.width - x;
    if (h == 0) h = image.height - y;
    if (w <= 0 || h <= 0) return {};
    w = std::min(w, maxSize);
    h = std::min(h, maxSize);
    texWidth = PowerOfTwoAtLeast(w, 2);
    texHeight = PowerOfTwoAtLeast(h, 2);

    std::vector<uint8_t> texels(static_cast<size_t>(texWidth) * texHeight * 4);
    for (int32_t j = 0; j < h; ++j) {
        int64_t sy = static_cast<int64_t>(y) + j;
        if (sy < 0 || sy >= image.height) continue;
        for (int32_t i = 0; i < w; ++i) {
            int64_t sx = static_cast<int64_t>(x) + i;
            if (sx < 0 || sx >= image.width) continue;
            std::memcpy(&texels[(static_cast<size_t>(h - 1 - j) * texWidth + i) * 4],
                        &image.pixels[(static_cast<size_t>(sy) * image.width + sx) * 4], 4);
        }
    }
    if (!nearest) FillEdgeColours(texels, texWidth, texHeight);
    if (normalMap) ConvertToNormalMap(texels.data(), texWidth, texHeight);
    return texels;
}

void UploadTexels(std::vector<uint8_t>& texels, int32_t texWidth, int32_t texHeight, uint32_t& texture,
                  uint32_t* mipTexture, bool nearest) {
    GlDeleteTexture(texture);
    texture = NewTexture(texWidth, texHeight, nearest, texels.data());
    if (mipTexture) UploadMipTexture(texels, texWidth, texHeight, *mipTexture);
}

bool TextureUpload(const ImageRGBA& image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t& texture,
                   uint32_t* mipTexture, bool normalMap, bool nearest) {
    int32_t texWidth = 0, texHeight = 0;
    std::vector<uint8_t> texels = TexelBuffer(image, x, y, w, h, normalMap, nearest, texWidth, texHeight);
    if (texels.empty()) return false;
    UploadTexels(texels, texWidth, texHeight, texture, mipTexture, nearest);
    return true;
}
