// Folders: listing entries, private folders for the program's own temporary files, removing them.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
};

// Every entry of the folder in the system's order, "." and ".." included; false when it cannot be read.
bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries);
// A new folder that only this user can enter, inside parent; its path with a trailing "/", or empty.
std::string MakePrivateDir(const std::string& parent, const std::string& prefix);
// Removes the files directly inside the folder, then the folder.
void RemovePrivateDir(const std::string& path);

} // namespace platform
