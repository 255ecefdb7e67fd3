// The 8 numbered file channels: the table record and the commands that open, close and position them.
#pragma once

#include "platform/files.h"
#include "runtime/core/rt_string.h"

#include <array>
#include <cstdint>

struct FileChannel {
    platform::File handle;
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

bool FileOpen(int32_t channel, const RtString& name, bool forReading);
void FileClose(int32_t channel);
void FileCloseAll();
bool FileEnd(int32_t channel);
double FilePosition(int32_t channel);
void FileSeek(int32_t channel, int32_t offset, int32_t mode);
