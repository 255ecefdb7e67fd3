// The "sbX" archive layout: finding the tag, walking the directory, reading an entry's data. Nothing
// in the file is trusted: every offset and size is checked against the file before it is used.
#pragma once

#include "platform/files.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Entries larger than this (either form) are taken for damage.
constexpr uint32_t kMaxArchiveEntrySize = 256u << 20;

struct ArchiveEntry {
    std::string name;
    // As stored: negative values count back from the end of the file.
    int32_t dataOffset = 0;
    int32_t dataSize = 0;
};

enum class DirectoryWalk { Stopped, End, Damaged };

bool HasArchiveTag(platform::File& file);
// Calls visit for each entry in directory order until it returns true. Entries whose names hold a
// path separator or a zero byte are skipped.
DirectoryWalk WalkArchiveDirectory(platform::File& file, const std::function<bool(const ArchiveEntry&)>& visit);
// The entry's decompressed contents; false when its data or its stream is damaged.
bool ReadArchiveEntry(platform::File& file, const ArchiveEntry& entry, std::vector<unsigned char>& contents);
