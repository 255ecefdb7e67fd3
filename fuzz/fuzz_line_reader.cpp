// Fuzzes the line reader: every line is at most 1024 bytes without LF, the position counter tracks
// the bytes consumed, and the buffered reader gives exactly the same lines.
#include "fuzz/fuzz_scratch.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/files/line_reader.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

// The inputs go to files in a scratch folder that the end of the run removes.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzScratchDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = platform::TempDir() + "fuzz-lines.txt";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    platform::File file = platform::OpenForReading(path);
    if (!file.IsOpen()) std::abort();
    platform::File again = platform::OpenForReading(path);
    BufferedLineReader buffered(again);
    int64_t position = 0;
    std::string text, same;
    for (;;) {
        LineEnd end = ReadLine(file, text, position);
        if (buffered.Next(same) != end || same != text) std::abort();
        if (end == LineEnd::EndOfFile) break;
        if (text.size() > kLineBufferSize || text.find('\n') != std::string::npos) std::abort();
        int64_t at = file.Seek(0, platform::SeekFrom::Current);
        // The file pointer stands at the next unread byte; the count may be one past the end.
        if (position != at && position != at + 1) std::abort();
        if (position > static_cast<int64_t>(size) + 1) std::abort();
    }
    return 0;
}
