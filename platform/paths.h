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
bool SetCurrentDir(const std::string& path); // a path as the system names it, backslashes and all
// Every "\" becomes "/": names from programs may use either separator.
std::string SystemPath(std::string name);

enum class AppendResult { Done, Busy, Refused };
// Appends bytes to a regular file of our own (created owner-only) that nobody else holds, never
// waiting and never following a link. Busy while another writer holds it; Refused when it cannot be
// made or written, or is a link, a FIFO or another user's file.
AppendResult AppendExclusive(const std::string& path, const char* bytes, size_t size);
bool RemoveFile(const std::string& path);

} // namespace platform
