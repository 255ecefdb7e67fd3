// Reading a whole file into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// False when the file cannot be opened or read, is larger than maxBytes or does not fit in memory;
// bytes then holds nothing. The size is checked before anything is read.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes, int64_t maxBytes);

} // namespace platform
