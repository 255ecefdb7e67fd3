// FileList over the platform's folder listing and the wildcard matcher.
#include "runtime/files/files.h"

#include "platform/directories.h"
#include "runtime/files/directories.h"

#include <vector>

double FileList(const RtString& pattern, RtArray<RtString>& target) {
    std::vector<platform::DirectoryEntry> entries;
    if (!platform::ListDirectory(".", entries)) {
        Dim(target, 0);
        return 0;
    }
    std::vector<const std::string*> folders, files;
    for (const platform::DirectoryEntry& e : entries) {
        if (e.isDirectory)
            folders.push_back(&e.name);
        else if (WildcardMatch(pattern.view(), e.name))
            files.push_back(&e.name);
    }
    Dim(target, static_cast<int32_t>(folders.size() + files.size()));
    int32_t at = 0;
    for (const auto* list : {&folders, &files})
        for (const std::string* name : *list) target(at++) = RtString(*name);
    return static_cast<double>(folders.size()) * 65536 + static_cast<double>(files.size());
}
