// Reading a whole file into memory.
#include "platform/file_bytes.h"

#include "platform/files.h"

namespace platform {

bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes) {
    bytes.clear();
    File file = OpenForReading(path);
    if (!file.IsOpen()) return false;
    uint8_t chunk[65536];
    int64_t got;
    while ((got = file.Read(chunk, sizeof chunk)) > 0) bytes.insert(bytes.end(), chunk, chunk + got);
    if (got < 0) {
        bytes.clear();
        return false;
    }
    return true;
}

} // namespace platform
