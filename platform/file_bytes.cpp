// Reading a whole file into memory.
#include "platform/file_bytes.h"

#include "platform/files.h"

#include <new>

namespace platform {

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, int64_t maxBytes) {
    bytes.clear();
    File file = OpenForReading(path);
    int64_t size = file.IsOpen() ? file.Size() : -1;
    if (size < 0 || size > maxBytes) return false;
    try {
        bytes.resize(static_cast<size_t>(size));
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (file.Read(bytes.data(), bytes.size()) != size) {
        bytes.clear();
        return false;
    }
    return true;
}

} // namespace platform
