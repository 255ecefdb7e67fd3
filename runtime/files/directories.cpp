// The current folder.
#include "runtime/files/files.h"

#include "platform/paths.h"

// "" when the system cannot tell (the folder was removed): "/" would send the program's files into
// the root.
RtString CurrentDirGet() {
    std::string dir = platform::CurrentDir();
    if (dir.empty()) return "";
    if (dir.back() != '/') dir += '/';
    return RtString(dir);
}

double CurrentDirSet(const RtString& path) {
    return platform::SetCurrentDir(platform::SystemPath(std::string(path.view()))) ? 1 : 0;
}
