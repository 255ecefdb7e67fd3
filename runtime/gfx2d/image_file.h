// Reading a picture file: BMP first, then PNG, decided by the content, never by the name.
#pragma once

#include "runtime/gfx2d/image_rgba.h"

#include <cstdint>
#include <string>

// path is a resolved file name; key as for the decoders. False when neither decoder accepts the file,
// when it is larger than 260 MiB (not read then) or when its picture does not fit in memory.
bool DecodeImageFile(ImageRGBA& image, const std::string& path, int32_t key);
