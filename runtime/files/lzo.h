// LZO1X compression of archive entries, over liblzo2.
#pragma once

#include <cstddef>
#include <vector>

// True only when the stream is sound and gives exactly `size` bytes; never writes outside `out`.
bool LzoDecompress(const unsigned char* data, size_t count, size_t size, std::vector<unsigned char>& out);
// The LZO1X-1 stream of the bytes (what the archive packer stores).
std::vector<unsigned char> LzoCompress(const unsigned char* data, size_t count);
