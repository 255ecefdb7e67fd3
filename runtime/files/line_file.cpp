// The line-indexed file: selection with write-back, reading and writing lines by number.
#include "runtime/files/line_file.h"

#include "platform/files.h"
#include "runtime/core/core_internal.h"
#include "runtime/files/file_rewrite.h"
#include "runtime/files/line_reader.h"
#include "runtime/files/packed_archive.h"

#include <algorithm>

namespace {

constexpr size_t kMaxLineText = 1023;

void WriteBack(LineFile& file) {
    if (file.name.empty() || file.name.size() > platform::kMaxFileName || !file.modified) return;
    std::string text;
    for (int32_t i = 0; i <= file.highest; ++i) text += file.lines[static_cast<size_t>(i)] + "\r\n";
    RewriteFile(file.writePath, text);
}

// Lines longer than a slot keep their first 1023 bytes; the rest of such a line is dropped so that
// it cannot shift the numbers of the lines behind it.
void ReadLines(LineFile& file, platform::File& in) {
    BufferedLineReader reader(in);
    std::string text;
    for (size_t slot = 0; slot < file.lines.size(); ++slot) {
        LineEnd end = reader.Next(text);
        if (end == LineEnd::EndOfFile) break;
        file.lines[slot] = text.substr(0, kMaxLineText);
        file.highest = static_cast<int32_t>(slot);
        while (end == LineEnd::Full) end = reader.Next(text);
    }
}

void RegisterWriteBack(LineFile& file) {
    if (file.exitHandlerRegistered) return;
    file.exitHandlerRegistered = true;
    RegisterExitHandler(LineFileFlush);
}

// False (with the last error 3) when the file is found nowhere; the name is held either way.
bool Select(const RtString& requested) {
    LineFile& file = CurrentLineFile();
    RegisterWriteBack(file);
    if (requested.view() == file.name) return true;
    LineFileFlush();
    file.name = requested.view();
    file.writePath = platform::AbsolutePath(file.name);
    RtString path;
    platform::File in;
    if (ArchiveResolve(requested, path)) in = platform::OpenForReading(std::string(path.view()));
    if (!in.IsOpen()) {
        SetRuntimeError(3);
        return false;
    }
    ReadLines(file, in);
    return true;
}

} // namespace

LineFile& CurrentLineFile() {
    static LineFile* file = new LineFile;
    return *file;
}

void LineFileFlush() {
    LineFile& file = CurrentLineFile();
    WriteBack(file);
    bool registered = file.exitHandlerRegistered;
    file = LineFile{};
    file.exitHandlerRegistered = registered;
}

RtString LineFileRead(const RtString& name, int32_t index) {
    if (index < 0 || index > 255) return "NO_DATA";
    if (!Select(name)) return "NO_FILE";
    std::string text = CurrentLineFile().lines[static_cast<size_t>(index)];
    // Bytes 128 to 255 at the end stay: they are letters in the system's code page.
    while (!text.empty() && static_cast<unsigned char>(text.back()) < 32) text.pop_back();
    return text.empty() ? RtString("NO_DATA") : RtString(text);
}

void LineFileWrite(const RtString& name, int32_t index, const RtString& text) {
    if (index < 0 || index > 255) {
        SetRuntimeError(7);
        return;
    }
    Select(name);
    LineFile& file = CurrentLineFile();
    std::string_view view = text.view();
    view = view.substr(0, std::min(view.find('\0'), kMaxLineText));
    file.lines[static_cast<size_t>(index)] = std::string(view);
    if (index > file.highest) file.highest = index;
    file.modified = true;
}
