// The packed archive: archives made by the packer, resolution rules, and damaged archives.
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::string Pattern(size_t size) {
    std::string bytes;
    for (size_t i = 0; i < size; ++i) bytes += static_cast<char>((i * 7 + i / 251) % 256);
    return bytes;
}

// A program file packed twice: tile.png and readme.txt, then an empty extra.dat; its folder holds
// nothing else of theirs.
std::string PackedProgram(const std::string& tile) {
    std::string dir = FreshDir();
    mkdir((dir + "data").c_str(), 0700);
    WriteBytes(dir + "prog", "\x7F"
                             "ELF pretend program");
    WriteBytes(dir + "data/tile.png", tile);
    WriteBytes(dir + "data/readme.txt", "first\r\nsecond\n");
    WriteBytes(dir + "data/extra.dat", "");
    EXPECT_EQ(RunPacker(dir + "prog " + dir + "data/tile.png " + dir + "data/readme.txt"), 0);
    EXPECT_EQ(RunPacker(dir + "prog " + dir + "data/extra.dat"), 0);
    return dir + "prog";
}

} // namespace

TEST(PackedArchives, EntriesAreFoundByTheirLastComponentWhileDiskFilesWin) {
    std::string tile = Pattern(100000);
    std::string program = PackedProgram(tile);
    EXPECT_EQ(RunPacker("-l " + program), 0);
    PackedArchive archive;
    ArchiveRegister(archive, program);
    RtString path;
    ASSERT_TRUE(ArchiveResolve(archive, "gfx/Tile.png", path));
    EXPECT_EQ(ReadFile(path.c_str()), tile);
    std::string copy(path.view());
    struct stat st;
    ASSERT_EQ(stat(archive.extractDir.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The next lookup deletes the previous copy, also when it is answered from disk.
    std::string disk = FreshDir() + "readme.txt";
    WriteBytes(disk, "on disk");
    ASSERT_TRUE(ArchiveResolve(archive, RtString(disk.c_str()), path));
    EXPECT_EQ(path, disk.c_str());
    EXPECT_FALSE(platform::FileReadable(copy));

    // Packing again kept the earlier entries.
    ASSERT_TRUE(ArchiveResolve(archive, "EXTRA.DAT", path));
    EXPECT_EQ(ReadFile(path.c_str()), "");
    EXPECT_FALSE(ArchiveResolve(archive, "missing.png", path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(ArchiveResolve(archive, "", path));
    EXPECT_TRUE(archive.enabled);
    ArchiveDestroy(archive);
    EXPECT_NE(stat(copy.substr(0, copy.rfind('/')).c_str(), &st), 0);
}

TEST(PackedArchives, AProgramWithoutTheTagDisablesTheArchive) {
    std::string plain = FreshDir() + "plain";
    WriteBytes(plain, "no archive here, not even a tag");
    PackedArchive archive;
    ArchiveRegister(archive, plain);
    RtString path;
    EXPECT_FALSE(ArchiveResolve(archive, "tile.png", path));
    EXPECT_FALSE(archive.enabled);
    EXPECT_TRUE(ArchiveResolve(archive, RtString(plain.c_str()), path));
}

TEST(PackedArchives, TruncatedOrCorruptedArchivesNeverCrash) {
    std::string whole = ReadFile(PackedProgram(Pattern(3000)));
    std::string damaged = FreshDir() + "damaged";
    // The entry's contents from the damaged archive, or "not found".
    auto resolve = [&](const std::string& bytes, const char* name) {
        WriteBytes(damaged, bytes);
        PackedArchive archive;
        ArchiveRegister(archive, damaged);
        RtString path;
        std::string found = ArchiveResolve(archive, name, path) ? ReadFile(path.c_str()) : "not found";
        ArchiveDestroy(archive);
        return found;
    };
    for (size_t cut = 1; cut < whole.size(); cut += cut < 64 ? 1 : 97)
        EXPECT_EQ(resolve(whole.substr(0, whole.size() - cut), "tile.png"), "not found") << cut;
    for (size_t at = 0; at < whole.size(); at += at + 64 < whole.size() ? 13 : 1) {
        for (char value : {'\x00', '\x7F', '\xFF'}) {
            std::string bytes = whole;
            bytes[at] = value;
            EXPECT_LE(resolve(bytes, "readme.txt").size(), 14u) << at;
        }
    }
}

TEST(PackedArchives, ChannelsAndIniFilesReadThroughTheRuntimeArchive) {
    std::string dir = FreshDir();
    WriteBytes(dir + "settings.ini", "[Screen]\nResX=800\n");
    std::string program = PackedProgram("tile");
    ASSERT_EQ(RunPacker(program + " " + dir + "settings.ini"), 0);
    std::remove((dir + "settings.ini").c_str());
    ArchiveRegister(RuntimeArchive(), program);

    ASSERT_TRUE(FileOpen(4, "any/folder/README.TXT", true));
    RtString line;
    FileReadLine(4, line);
    EXPECT_EQ(line, "first");
    FileClose(4);

    // An INI file found only in the archive goes back to the name the program asked for.
    IniSelectFile(RtString((dir + "settings.ini").c_str()));
    EXPECT_EQ(IniReadValue("screen", "resx"), "800");
    IniWriteValue("Screen", "ResY", "600");
    IniSelectFile("");
    EXPECT_EQ(ReadFile(dir + "settings.ini"), "[Screen]\r\nResX=800\r\nResY=600\r\n");
    ArchiveDestroy(RuntimeArchive());
    ArchiveRegister(RuntimeArchive(), "");
}
