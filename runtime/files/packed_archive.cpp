// The archive resolver: the file on disk first, then the archive's entry extracted to a private folder.
#include "runtime/files/packed_archive.h"

#include "platform/directories.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "runtime/files/archive_directory.h"

#include <cstdio>
#include <vector>

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void DeletePending(PackedArchive& archive) {
    if (archive.pendingTemp.empty()) return;
    platform::RemoveFile(archive.pendingTemp);
    archive.pendingTemp.clear();
}

// "sbx" and two letters from the entry's stored offset and size, then the entry's own name, so that
// the copy keeps its extension.
std::string CopyName(const ArchiveEntry& entry) {
    std::string name = "sbx";
    name += static_cast<char>('A' + static_cast<uint8_t>(entry.dataOffset) % 26);
    name += static_cast<char>('A' + static_cast<uint8_t>(entry.dataSize) % 26);
    return name + entry.name;
}

// The extracted copy's path, or empty when it cannot be written.
std::string Extract(PackedArchive& archive, const ArchiveEntry& entry, const std::vector<unsigned char>& contents) {
    if (archive.extractDir.empty()) archive.extractDir = platform::MakePrivateDir(platform::TempDir(), "tmv-sbx-");
    std::string path = archive.extractDir + CopyName(entry);
    platform::RemoveFile(path);
    platform::File out = archive.extractDir.empty() ? platform::File() : platform::CreateNew(path);
    if (!out.IsOpen() || !out.Write(contents.data(), contents.size())) {
        if (out.IsOpen()) platform::RemoveFile(path);
        std::printf("can't open \"%s\" for writing\n", path.c_str());
        return {};
    }
    return path;
}

bool ResolveFromArchive(PackedArchive& archive, std::string_view request, RtString& path) {
    platform::File file = platform::OpenForReading(archive.archivePath);
    if (!file.IsOpen() || !HasArchiveTag(file)) {
        archive.enabled = false;
        return false;
    }
    size_t cut = request.find_last_of("/\\");
    std::string_view wanted = cut == std::string_view::npos ? request : request.substr(cut + 1);
    ArchiveEntry found;
    auto match = [&](const ArchiveEntry& entry) {
        if (!SameLetters(entry.name, wanted)) return false;
        found = entry;
        return true;
    };
    std::vector<unsigned char> contents;
    if (WalkArchiveDirectory(file, match) != DirectoryWalk::Stopped || !ReadArchiveEntry(file, found, contents))
        return false;
    file.Close();
    std::string copy = Extract(archive, found, contents);
    if (copy.empty()) return false;
    archive.pendingTemp = copy;
    path = RtString(copy);
    return true;
}

} // namespace

PackedArchive& RuntimeArchive() {
    static PackedArchive* archive = new PackedArchive;
    return *archive;
}

void ArchiveRegister(PackedArchive& archive, const std::string& path) {
    DeletePending(archive);
    archive.archivePath = path;
    archive.enabled = true;
}

bool ArchiveResolve(PackedArchive& archive, const RtString& name, RtString& path) {
    DeletePending(archive);
    path = "";
    if (name.Length() == 0 || name.Length() > platform::kMaxFileName) return false;
    if (platform::FileReadable(std::string(name.view()))) {
        path = name;
        return true;
    }
    if (!archive.enabled) return false;
    return ResolveFromArchive(archive, name.view(), path);
}

bool ArchiveResolve(const RtString& name, RtString& path) { return ArchiveResolve(RuntimeArchive(), name, path); }

void ArchiveDestroy(PackedArchive& archive) {
    DeletePending(archive);
    if (!archive.extractDir.empty()) platform::RemovePrivateDir(archive.extractDir);
    archive.extractDir.clear();
}
