// The line reader: 64-byte blocks, at most 1024 bytes a line, LF ends, CR before it dropped.
#include "runtime/files/line_reader.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kBlockSize = 64;
constexpr size_t kRefillSize = 64 * 1024;

// The text before the first zero byte, without a CR just before the end.
void CutLine(const char* at, size_t count, bool droppedLf, std::string& text) {
    if (droppedLf && count > 0 && at[count - 1] == '\r') --count;
    text.assign(at, strnlen(at, count));
}

} // namespace

LineEnd ReadLine(platform::File& file, std::string& text, int64_t& position) {
    char buffer[kLineBufferSize] = {};
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
            CutLine(buffer, at, true, text);
            return LineEnd::Feed;
        }
    }
    CutLine(buffer, kLineBufferSize, false, text);
    return LineEnd::Full;
}

LineEnd BufferedLineReader::Next(std::string& text) {
    // Keep at least one whole line's worth ahead, unless the file ends first.
    while (!atEnd_ && buffer_.size() - begin_ < kLineBufferSize) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<ptrdiff_t>(begin_));
        begin_ = 0;
        size_t kept = buffer_.size();
        buffer_.resize(kept + kRefillSize);
        int64_t got = file_.Read(buffer_.data() + kept, kRefillSize);
        buffer_.resize(kept + static_cast<size_t>(std::max<int64_t>(got, 0)));
        atEnd_ = got < static_cast<int64_t>(kRefillSize);
    }
    size_t left = buffer_.size() - begin_;
    if (left == 0) {
        text.clear();
        return LineEnd::EndOfFile;
    }
    const char* at = buffer_.data() + begin_;
    size_t window = std::min(left, kLineBufferSize);
    const void* lf = std::memchr(at, '\n', window);
    if (lf) {
        size_t count = static_cast<size_t>(static_cast<const char*>(lf) - at);
        CutLine(at, count, true, text);
        begin_ += count + 1;
        return LineEnd::Feed;
    }
    // The end of the file ends a last line that has no LF.
    bool full = window == kLineBufferSize;
    CutLine(at, window, !full, text);
    begin_ += window;
    return full ? LineEnd::Full : LineEnd::Feed;
}
