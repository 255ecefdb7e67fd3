// The line reader: 64-byte blocks, at most 1024 bytes a line, LF ends, CR before it dropped.
#include "runtime/files/line_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kBlockSize = 64;

} // namespace

LineEnd ReadLine(platform::File& file, std::string& text, int64_t& position) {
    char buffer[kLineBufferSize + 1] = {};
    size_t total = 0;
    while (total < kLineBufferSize) {
        size_t asked = std::min(kBlockSize, kLineBufferSize - total);
        int64_t got = file.Read(buffer + total, asked);
        if (got < 0 || (got == 0 && total == 0)) {
            text.clear();
            return LineEnd::EndOfFile;
        }
        size_t count = static_cast<size_t>(got);
        position += got;
        // The last line of a file needs no line end: end of file acts as one.
        if (count < asked) buffer[total + count] = '\n';
        const void* lf = std::memchr(buffer + total, '\n', count < asked ? count + 1 : count);
        total += count;
        if (lf) {
            size_t at = static_cast<size_t>(static_cast<const char*>(lf) - buffer);
            int64_t past = static_cast<int64_t>(total) - static_cast<int64_t>(at + 1);
            position -= past;
            if (past > 0) file.Seek(-past, platform::SeekFrom::Current);
            if (at > 0 && buffer[at - 1] == '\r') --at;
            buffer[at] = 0;
            text.assign(buffer, strnlen(buffer, at));
            return LineEnd::Feed;
        }
    }
    text.assign(buffer, strnlen(buffer, kLineBufferSize));
    return LineEnd::Full;
}
