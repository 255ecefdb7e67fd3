// DecodeBmp: Windows BMP files (core, info, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits, bit-field
// masks, 8- and 4-bit run lengths) into an ImageRGBA.
#pragma once

#include "runtime/gfx2d/image_rgba.h"

#include <cstddef>
#include <cstdint>

// The file's bytes in memory; pixels equal to key (R + G*256 + B*65536; -1 = none) become (0, 0, 0, 0).
// False for anything that is not a sound BMP of these kinds.
bool DecodeBmp(ImageRGBA& image, const uint8_t* data, size_t size, int32_t key);
