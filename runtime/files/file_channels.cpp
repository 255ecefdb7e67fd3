// File channels: the table, opening (reads through the archive resolver), closing and seeking.
#include "runtime/files/file_channels.h"

#include "runtime/core/core.h"
#include "runtime/files/packed_archive.h"

FileChannelTable& FileChannels() {
    static FileChannelTable* table = new FileChannelTable;
    return *table;
}

FileChannel& ChannelOrDie(int32_t channel) {
    if (channel < 0 || channel > 7) RuntimeError(7);
    return FileChannels().channels[static_cast<size_t>(channel)];
}

bool FileOpen(int32_t channel, const RtString& name, bool forReading) {
    FileChannel& ch = ChannelOrDie(channel);
    ch = FileChannel{};
    ch.name = name;
    if (!forReading) {
        ch.handle = platform::CreateAlways(std::string(name.view()));
        return ch.handle.IsOpen();
    }
    RtString path;
    if (!ArchiveResolve(name, path)) return false;
    ch.handle = platform::OpenForReading(std::string(path.view()));
    if (ch.handle.IsOpen()) ch.size = ch.handle.Size();
    return ch.handle.IsOpen();
}

void FileClose(int32_t channel) { ChannelOrDie(channel) = FileChannel{}; }

void FileCloseAll() {
    for (FileChannel& ch : FileChannels().channels) ch = FileChannel{};
}

// A number outside 0 to 7 is at its end: a program looping until the end stops there, and its next
// read reports error 7.
bool FileEnd(int32_t channel) {
    if (channel < 0 || channel > 7) return true;
    const FileChannel& ch = FileChannels().channels[static_cast<size_t>(channel)];
    return ch.size <= ch.position;
}

double FilePosition(int32_t channel) { return static_cast<double>(ChannelOrDie(channel).position); }

void FileSeek(int32_t channel, int32_t offset, int32_t mode) {
    FileChannel& ch = ChannelOrDie(channel);
    platform::SeekFrom from = platform::SeekFrom::Start;
    if (mode == 0)
        ch.position = offset;
    else if (mode > 0) {
        ch.position += offset;
        from = platform::SeekFrom::Current;
    } else {
        ch.position = ch.size + offset;
        from = platform::SeekFrom::End;
    }
    if (ch.handle.IsOpen()) ch.handle.Seek(offset, from);
}
