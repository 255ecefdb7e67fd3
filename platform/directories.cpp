// Folders over opendir/readdir and mkdtemp.
#include "platform/directories.h"

#include "platform/paths.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool ListDirectory(const std::string& path, std::vector<DirectoryEntry>& entries) {
    std::string folder = SystemPath(path.empty() ? "." : path);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    while (dirent* e = readdir(dir)) {
        DirectoryEntry entry{e->d_name, e->d_type == DT_DIR};
        // Some file systems leave the type unknown; a link to a folder counts as a folder, as on Windows.
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            entry.isDirectory = stat((folder + "/" + e->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    return true;
}

std::string MakePrivateDir(const std::string& parent, const std::string& prefix) {
    std::string pattern = SystemPath(parent);
    if (!pattern.empty() && pattern.back() != '/') pattern += '/';
    pattern += prefix + "XXXXXX";
    if (!mkdtemp(pattern.data())) return {};
    return pattern + "/";
}

void RemovePrivateDir(const std::string& path) {
    std::vector<DirectoryEntry> entries;
    if (ListDirectory(path, entries)) {
        for (const DirectoryEntry& e : entries)
            if (!e.isDirectory) unlink((SystemPath(path) + "/" + e.name).c_str());
    }
    rmdir(SystemPath(path).c_str());
}

} // namespace platform
