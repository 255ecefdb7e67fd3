// The 8 numbered file channels: the table record (the commands are in <tmv/files.h>).
#pragma once

#include "platform/files.h"
#include "runtime/core/rt_string.h"

#include <tmv/files.h>

#include <array>
#include <cstdint>

struct FileChannel {
    platform::File handle;
    // As the program gave it: the subject of the channel's fatal errors.
    RtString name;
    // Taken when the file is opened for reading; 0 for a file opened for writing.
    int64_t size = 0;
    // The runtime's own count of the read position, never asked of the system.
    int64_t position = 0;
};

struct FileChannelTable {
    std::array<FileChannel, 8> channels;
};

FileChannelTable& FileChannels();
// The channel, or the fatal error 7 for a number outside 0 to 7.
FileChannel& ChannelOrDie(int32_t channel);
