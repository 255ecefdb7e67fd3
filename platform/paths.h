// Where things are on this machine: the temporary folder, the program's own file, the current folder,
// and the file calls that must not follow links planted in shared folders.
#pragma once

#include <string>

namespace platform {

// $TMPDIR when set, else a private per-user folder in /tmp; always ends with "/".
const std::string& TempDir();
// The running program's file, read from /proc/self/exe without a length limit.
std::string ExecutablePath();
// The folder that holds the running program, without a trailing "/".
std::string ProgramDir();
std::string CurrentDir();
bool SetCurrentDir(const std::string& path);
// Every "\" becomes "/": names from programs may use either separator.
std::string SystemPath(std::string name);

// Appends bytes to a file (created owner-only) that nobody else holds; a link is never followed.
// False when the file is missing and cannot be made, is a link, or another writer holds it.
bool AppendExclusive(const std::string& path, const char* bytes, size_t size);
bool RemoveFile(const std::string& path);

} // namespace platform
