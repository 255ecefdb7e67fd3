// Reading a picture file: BMP first, then PNG.
#include "runtime/gfx2d/image_file.h"

#include "platform/file_bytes.h"
#include "platform/paths.h"
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"

bool DecodeImageFile(ImageRGBA& image, const std::string& path, int32_t key) {
    std::string systemPath = platform::SystemPath(path);
    std::vector<uint8_t> bytes;
    if (!platform::ReadFileBytes(systemPath, bytes)) return false;
    return DecodeBmp(image, bytes.data(), bytes.size(), key) ||
           DecodePng(image, bytes.data(), bytes.size(), key, systemPath.c_str());
}
