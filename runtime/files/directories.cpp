// The current folder.
#include "runtime/files/directories.h"

#include "platform/paths.h"

RtString CurrentDirGet() {
    std::string dir = platform::CurrentDir();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return RtString(dir);
}

double CurrentDirSet(const RtString& path) { return platform::SetCurrentDir(std::string(path.view())) ? 1 : 0; }
