// TextureUpload: a rectangle of an ImageRGBA into a power-of-two GL texture (and its mip-mapped copy).
#pragma once

#include "runtime/gfx2d/image_rgba.h"

#include <cstdint>
#include <vector>

// The smallest power of two that is at least side, never below minimum.
int32_t PowerOfTwoAtLeast(int64_t side, int32_t minimum);

// A new bound texture, repeating, of RGBA texels (null: contents undefined, for grabs to fill).
uint32_t NewTexture(int32_t width, int32_t height, bool nearest, const uint8_t* texels);
// Rectangle (x, y, w, h) from the top-left; w or h 0 reaches the image's right or bottom edge. The
// rectangle's bottom row becomes texture row 0. texture is replaced by a new name; mipTexture (when
// not null) receives a second, mip-mapped texture. nearest chooses GL_NEAREST filtering and skips the
// edge-colour fill. False for an empty rectangle.
bool TextureUpload(const ImageRGBA& image, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t& texture,
                   uint32_t* mipTexture, bool normalMap, bool nearest);
// TextureUpload in two steps, for a caller that keeps the texels: the buffer (empty for an empty
// rectangle) with its power-of-two size, then the upload, which may spoil the buffer for the mip levels.
std::vector<uint8_t> TexelBuffer(const ImageRGBA& image, int32_t x, int32_t y, int32_t w, int32_t h, bool normalMap,
                                 bool nearest, int32_t& texWidth, int32_t& texHeight);
void UploadTexels(std::vector<uint8_t>& texels, int32_t texWidth, int32_t texHeight, uint32_t& texture,
                  uint32_t* mipTexture, bool nearest);
