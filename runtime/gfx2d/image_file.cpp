// Reading a picture file: BMP first, then PNG.
#include "runtime/gfx2d/image_file.h"

#include "platform/file_bytes.h"
#include "platform/paths.h"
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"

#include <new>

namespace {

// Four bytes for each of 8192 x 8192 pixels, with room for the headers: no picture worth a sprite is
// larger, and no larger file is read.
constexpr int64_t kMaxPictureFileBytes = int64_t{260} << 20;

} // namespace

bool DecodeImageFile(ImageRGBA& image, const std::string& path, int32_t key) {
    std::string systemPath = platform::SystemPath(path);
    std::vector<uint8_t> bytes;
    if (!platform::ReadFileBytes(systemPath, bytes, kMaxPictureFileBytes)) return false;
    // A picture that does not fit in memory fails to load like a damaged one.
    try {
        return DecodeBmp(image, bytes.data(), bytes.size(), key) ||
               DecodePng(image, bytes.data(), bytes.size(), key, systemPath.c_str());
    } catch (const std::bad_alloc&) {
        image = {};
        return false;
    }
}
