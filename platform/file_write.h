// Writing a whole file anew from bytes in memory (saved pictures, generated assets).
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Deletes any existing file of that name, creates it and writes all bytes; false when the file
// cannot be created or written completely.
bool WriteNewFile(const std::string& path, const void* bytes, size_t size);

} // namespace platform
