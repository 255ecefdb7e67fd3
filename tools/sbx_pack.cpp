// sbx_pack: appends files, LZO1X-compressed, in the "sbX" archive layout to an executable or any file,
// and lists an archive's entries. Files already in the archive stay; the new directory names them all.
#include "platform/files.h"
#include "runtime/files/archive_directory.h"
#include "runtime/files/lzo.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

namespace {

struct PackedEntry {
    std::string name;
    int64_t offset;
    int32_t size;
};

void PutBigEndian32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift & 0xFF);
}

int Usage() {
    std::fprintf(stderr, "usage: sbx_pack ARCHIVE FILE...   append files to ARCHIVE (made when missing)\n"
                         "       sbx_pack -l ARCHIVE        list the entries of ARCHIVE\n");
    return 2;
}

// The entries of an archive already in the file, with their data offsets made absolute.
bool ExistingEntries(const std::string& path, std::vector<PackedEntry>& entries) {
    platform::File file = platform::OpenForReading(path);
    if (!file.IsOpen() || !HasArchiveTag(file)) return true;
    int64_t size = file.Size();
    DirectoryWalk walk = WalkArchiveDirectory(file, [&](const ArchiveEntry& e) {
        int64_t at = e.dataOffset < 0 ? size + e.dataOffset : e.dataOffset;
        entries.push_back({e.name, at, e.dataSize});
        return false;
    });
    return walk == DirectoryWalk::End;
}

int List(const std::string& path) {
    platform::File file = platform::OpenForReading(path);
    if (!file.IsOpen()) {
        std::fprintf(stderr, "sbx_pack: cannot read %s\n", path.c_str());
        return 1;
    }
    if (!HasArchiveTag(file)) {
        std::fprintf(stderr, "sbx_pack: %s carries no archive\n", path.c_str());
        return 1;
    }
    DirectoryWalk walk = WalkArchiveDirectory(file, [&](const ArchiveEntry& e) {
        std::vector<unsigned char> contents;
        bool sound = ReadArchiveEntry(file, e, contents);
        std::printf("%s\t%d\t%s\n", e.name.c_str(), e.dataSize,
                    sound ? std::to_string(contents.size()).c_str() : "damaged");
        return false;
    });
    if (walk != DirectoryWalk::End) {
        std::fprintf(stderr, "sbx_pack: the directory of %s is damaged\n", path.c_str());
        return 1;
    }
    return 0;
}

bool ReadWhole(const std::string& path, std::vector<unsigned char>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

int Append(const std::string& archive, const std::vector<std::string>& files) {
    std::vector<PackedEntry> entries;
    if (!ExistingEntries(archive, entries)) {
        std::fprintf(stderr, "sbx_pack: the directory of %s is damaged\n", archive.c_str());
        return 1;
    }
    std::fstream out(archive, std::ios::binary | std::ios::in | std::ios::out | std::ios::ate);
    if (!out) out.open(archive, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "sbx_pack: cannot write %s\n", archive.c_str());
        return 1;
    }
    out.seekp(0, std::ios::end);
    int64_t at = out.tellp();
    for (const std::string& path : files) {
        std::string name = path.substr(path.find_last_of("/\\") + 1);
        std::vector<unsigned char> bytes;
        if (name.empty() || name.size() > 255 || !ReadWhole(path, bytes) || bytes.size() > kMaxArchiveEntrySize) {
            std::fprintf(stderr, "sbx_pack: cannot pack %s\n", path.c_str());
            return 1;
        }
        std::vector<unsigned char> stream = LzoCompress(bytes.data(), bytes.size());
        std::string data;
        for (int shift = 0; shift < 32; shift += 8) data += static_cast<char>(bytes.size() >> shift & 0xFF);
        data.append(stream.begin(), stream.end());
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        entries.push_back({name, at, static_cast<int32_t>(data.size())});
        at += static_cast<int64_t>(data.size());
    }
    std::string directory;
    for (const PackedEntry& e : entries) {
        directory += static_cast<char>(e.name.size());
        directory += e.name;
        PutBigEndian32(directory, static_cast<uint32_t>(e.offset));
        PutBigEndian32(directory, static_cast<uint32_t>(e.size));
    }
    directory += '\0';
    directory += "sbX";
    PutBigEndian32(directory, static_cast<uint32_t>(at));
    if (at + static_cast<int64_t>(directory.size()) > std::numeric_limits<int32_t>::max()) {
        std::fprintf(stderr, "sbx_pack: %s would pass 2 GiB\n", archive.c_str());
        return 1;
    }
    out.write(directory.data(), static_cast<std::streamsize>(directory.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "sbx_pack: writing %s failed\n", archive.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "-l") return List(argv[2]);
    if (argc < 3 || argv[1][0] == '-') return Usage();
    return Append(argv[1], std::vector<std::string>(argv + 2, argv + argc));
}
