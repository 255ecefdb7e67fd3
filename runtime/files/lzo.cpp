// LZO1X through liblzo2: the bounds-checked decompressor and the fast compressor.
#include "runtime/files/lzo.h"

#include <lzo/lzo1x.h>

namespace {

// The library checks its build once before the first call.
bool LzoReady() {
    static const bool ready = lzo_init() == LZO_E_OK;
    return ready;
}

} // namespace

bool LzoDecompress(const unsigned char* data, size_t count, size_t size, std::vector<unsigned char>& out) {
    if (!LzoReady()) return false;
    // One spare byte, so that an empty result still has a buffer to point at.
    out.assign(size + 1, 0);
    lzo_uint produced = size;
    int result = lzo1x_decompress_safe(data, count, out.data(), &produced, nullptr);
    if (result != LZO_E_OK || produced != size) return false;
    out.resize(size);
    return true;
}

std::vector<unsigned char> LzoCompress(const unsigned char* data, size_t count) {
    std::vector<unsigned char> out;
    if (!LzoReady()) return out;
    std::vector<unsigned char> work(LZO1X_1_MEM_COMPRESS);
    out.resize(count + count / 16 + 64 + 3);
    lzo_uint produced = 0;
    if (lzo1x_1_compress(data, count, out.data(), &produced, work.data()) != LZO_E_OK) produced = 0;
    out.resize(produced);
    return out;
}
