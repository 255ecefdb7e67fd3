// The packed archive: archives made by the packer, resolution rules, and damaged archives.
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace {

// A program file with random entries packed in two runs, noise and easily compressed ones, some empty,
// and no copy of them left on disk; the entries' names and contents.
std::vector<std::pair<std::string, std::string>> PackRandomEntries(const std::string& program, int largest) {
    std::mt19937 random(24);
    std::string dir = program.substr(0, program.rfind('/') + 1), list;
    std::vector<std::pair<std::string, std::string>> entries;
    WriteBytes(program, "\177ELF pretend program");
    for (int i = 0; i < 8; ++i) {
        std::string bytes(i % 4 ? random() % largest : 0, ' ');
        for (char& c : bytes) c = char(random() % (i % 2 ? 256 : 3));
        entries.emplace_back("entry" + std::to_string(i) + ".zip", bytes);
        WriteBytes(dir + entries.back().first, bytes);
        list += " " + dir + entries.back().first;
        if (i % 4 != 3) continue;
        EXPECT_EQ(RunPacker(program + list), 0);
        list.clear();
    }
    for (const auto& entry : entries) std::remove((dir + entry.first).c_str());
    return entries;
}

} // namespace

TEST(PackedArchives, EveryEntryComesBackByItsLastComponentWhileDiskFilesWin) {
    std::string program = FreshDir() + "prog";
    auto entries = PackRandomEntries(program, 70000);
    PackedArchive archive;
    ArchiveRegister(archive, program);
    RtString path;
    for (const auto& [name, bytes] : entries) {
        std::string upper = std::string(1002, 'f') + "any/folder\\"; // 1023 bytes with the name: the longest taken
        for (char c : name) upper += static_cast<char>(std::toupper(c)); // Z included
        ASSERT_TRUE(ArchiveResolve(archive, RtString(upper.c_str()), path)) << name;
        EXPECT_EQ(ReadFile(path.c_str()), bytes) << name;
    }
    std::string copy(path.view());
    // The next lookup deletes the previous copy, also when it is answered from disk.
    ASSERT_TRUE(ArchiveResolve(archive, RtString(program.c_str()), path));
    EXPECT_EQ(path, program.c_str());
    EXPECT_FALSE(platform::FileReadable(copy));
    for (const char* missing : {"missing.png", "", "entry1.zi"}) EXPECT_FALSE(ArchiveResolve(archive, missing, path));
    ArchiveDestroy(archive);
    EXPECT_FALSE(std::filesystem::exists(copy.substr(0, copy.rfind('/'))));
}

TEST(PackedArchives, TruncatedOrCorruptedArchivesNeverCrash) {
    std::string program = FreshDir() + "prog";
    const long entry5 = long(PackRandomEntries(program, 3000)[5].second.size());
    std::string whole = ReadFile(program), damaged = FreshDir() + "damaged";
    // The entry's size from the damaged archive, or -1 for "not found".
    auto resolve = [&](const std::string& bytes, const char* name) {
        WriteBytes(damaged, bytes);
        PackedArchive archive;
        ArchiveRegister(archive, damaged);
        RtString path;
        long size = ArchiveResolve(archive, name, path) ? long(ReadFile(path.c_str()).size()) : -1;
        ArchiveDestroy(archive);
        return size;
    };
    for (size_t cut = 1; cut < whole.size(); cut += cut < 64 ? 1 : 97)
        EXPECT_EQ(resolve(whole.substr(0, whole.size() - cut), "entry7.zip"), -1) << cut;
    // A byte changed anywhere in the directory at the end, or here and there before it: the entry comes
    // back whole or not at all.
    for (size_t at = whole.size() - 1; at > 30; at = at + 80 > whole.size() ? at - 1 : at * 15 / 16)
        for (char value : {'\x00', '\x7F', '\xFF'}) {
            std::string bytes = whole;
            bytes[at] = value;
            long size = resolve(bytes, "entry5.zip");
            EXPECT_TRUE(size == -1 || size == entry5) << at << ": " << size;
        }
    // An entry may end where the file does: its stream then ends in the tag and the directory's offset
    // (0x110000), here the literals "sbX\0" and the stream's end 11 00 00.
    std::string ending(0x110000, '\0');
    ending += std::string("\5a.txt\x00\x11\x00\x0F\x00\x00\x00\x10\x00", 15);
    ending += std::string("\x08\0\0\0\031abcdsbX\0\x11\0\0", 16);
    EXPECT_EQ(resolve(ending, "a.txt"), 8);
    ending[0x110000 + 15] = '\x09'; // one byte more announced than the stream holds
    EXPECT_EQ(resolve(ending, "a.txt"), -1);
}
