// DecodePng: PNG files through libpng into an ImageRGBA.
#pragma once

#include "runtime/gfx2d/image_rgba.h"

#include <cstddef>
#include <cstdint>

// The file's bytes in memory; name appears in the messages about unsupported depths and colour types.
// RGB pixels equal to key (R + G*256 + B*65536; -1 = none) become (0, 0, 0, 0); grey, grey + alpha and
// RGBA images ignore the key. False for anything libpng rejects.
bool DecodePng(ImageRGBA& image, const uint8_t* data, size_t size, int32_t key, const char* name);
