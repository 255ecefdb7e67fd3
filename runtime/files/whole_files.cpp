// Whole-file operations on disk.
#include "runtime/files/files.h"

#include "platform/files.h"
#include "platform/paths.h"

#include <algorithm>

double FileExists(const RtString& name) { return platform::FileReadable(std::string(name.view())) ? 1 : 0; }

double FileSize(const RtString& name) {
    platform::File file = platform::OpenForReading(std::string(name.view()));
    return file.IsOpen() ? static_cast<double>(file.Size()) : 0;
}

// The copy is written beside the target and renamed over it only when complete: a failed copy
// leaves an existing target as it was.
void FileCopy(const RtString& source, const RtString& target) {
    platform::File in = platform::OpenForReading(std::string(source.view()));
    if (!in.IsOpen() || target.Length() == 0 || target.Length() > platform::kMaxFileName) return;
    platform::FileReplacement out(platform::SystemPath(std::string(target.view())));
    char block[4096];
    for (;;) {
        int64_t got = in.Read(block, sizeof block);
        if (got < 0) return;
        if (got == 0) break;
        if (!out.Write(block, static_cast<size_t>(got))) return;
    }
    out.Commit();
}

void FileDelete(const RtString& name) {
    if (name.Length() <= platform::kMaxFileName) platform::RemoveFile(std::string(name.view()));
}

void PathToForwardSlashes(RtString& path) {
    std::string text(path.view());
    std::replace(text.begin(), text.end(), '\\', '/');
    path = RtString(text);
}
