// Reading a whole file into memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// False when the file cannot be opened or read; bytes then holds nothing.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

} // namespace platform
