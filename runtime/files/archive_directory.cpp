// Reading the "sbX" layout: the tag and directory offset in the last 7 bytes, big-endian directory
// entries, and per entry a little-endian uncompressed size before its LZO1X stream.
#include "runtime/files/archive_directory.h"

#include "runtime/files/lzo.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int64_t kTrailerSize = 7;
constexpr size_t kWindowSize = 64 * 1024;
// The largest LZO1X stream that can come from an entry of the largest size.
constexpr int64_t kMaxStreamSize = kMaxArchiveEntrySize + kMaxArchiveEntrySize / 16 + 64 + 3;

int32_t BigEndian32(const unsigned char* b) {
    return static_cast<int32_t>(static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 |
                                static_cast<uint32_t>(b[2]) << 8 | b[3]);
}

// A stored offset, negative ones counted back from the end; -1 when it lies outside the file.
int64_t FileOffset(int32_t stored, int64_t fileSize) {
    int64_t at = stored < 0 ? fileSize + stored : stored;
    return at < 0 || at >= fileSize ? -1 : at;
}

bool ReadAt(platform::File& file, int64_t at, unsigned char* out, size_t count) {
    return file.Seek(at, platform::SeekFrom::Start) == at && file.Read(out, count) == static_cast<int64_t>(count);
}

// Sequential reads through the directory, a window of the file at a time.
struct DirectoryCursor {
    platform::File& file;
    int64_t fileSize;
    int64_t at;
    std::vector<unsigned char> window;
    int64_t windowStart = 0;

    bool Take(size_t count, unsigned char* out) {
        if (at + static_cast<int64_t>(count) > fileSize) return false;
        int64_t windowEnd = windowStart + static_cast<int64_t>(window.size());
        if (at < windowStart || at + static_cast<int64_t>(count) > windowEnd) {
            size_t size = static_cast<size_t>(std::min<int64_t>(std::max(count, kWindowSize), fileSize - at));
            window.resize(size);
            windowStart = at;
            if (!ReadAt(file, at, window.data(), size)) {
                window.clear();
                return false;
            }
        }
        std::memcpy(out, window.data() + (at - windowStart), count);
        at += static_cast<int64_t>(count);
        return true;
    }
};

bool NameAllowed(const std::string& name) { return name.find_first_of(std::string("/\\\0", 3)) == std::string::npos; }

} // namespace

bool HasArchiveTag(platform::File& file) {
    int64_t size = file.Size();
    unsigned char tag[3];
    return size >= kTrailerSize && ReadAt(file, size - kTrailerSize, tag, 3) && std::memcmp(tag, "sbX", 3) == 0;
}

DirectoryWalk WalkArchiveDirectory(platform::File& file, const std::function<bool(const ArchiveEntry&)>& visit) {
    int64_t size = file.Size();
    unsigned char stored[4];
    if (size < kTrailerSize || !ReadAt(file, size - 4, stored, 4)) return DirectoryWalk::Damaged;
    int64_t start = FileOffset(BigEndian32(stored), size);
    if (start < 0) return DirectoryWalk::Damaged;
    DirectoryCursor cursor{file, size, start, {}, 0};
    for (;;) {
        unsigned char length = 0;
        if (!cursor.Take(1, &length)) return DirectoryWalk::Damaged;
        if (length == 0) return DirectoryWalk::End;
        ArchiveEntry entry;
        entry.name.resize(length);
        unsigned char fields[8];
        if (!cursor.Take(length, reinterpret_cast<unsigned char*>(entry.name.data())) || !cursor.Take(8, fields))
            return DirectoryWalk::Damaged;
        entry.dataOffset = BigEndian32(fields);
        entry.dataSize = BigEndian32(fields + 4);
        if (NameAllowed(entry.name) && visit(entry)) return DirectoryWalk::Stopped;
    }
}

bool ReadArchiveEntry(platform::File& file, const ArchiveEntry& entry, std::vector<unsigned char>& contents) {
    int64_t size = file.Size();
    int64_t start = FileOffset(entry.dataOffset, size);
    int64_t count = entry.dataSize;
    if (start < 0 || count < 4 || count - 4 > kMaxStreamSize || start + count > size) return false;
    std::vector<unsigned char> data(static_cast<size_t>(count));
    if (!ReadAt(file, start, data.data(), data.size())) return false;
    uint32_t unpacked = static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
                        static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    // LZO1X gives at most about 255 bytes for each byte of stream: a larger announced size is damage,
    // and must not make us allocate it.
    if (unpacked > kMaxArchiveEntrySize || unpacked > static_cast<uint64_t>(count - 4) * 256 + 4096) return false;
    return LzoDecompress(data.data() + 4, data.size() - 4, unpacked, contents);
}
