// Whole-file operations, and what program end does with channels, written-back files and extracted copies.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(WholeFiles, ExistsSizeCopyDeleteAndSlashes) {
    std::string dir = FreshDir();
    RtString source((dir + "source.bin").c_str()), target((dir + "target.bin").c_str());
    WriteBytes(source.c_str(), std::string(10000, 's'));
    WriteBytes(target.c_str(), "old");
    EXPECT_EQ(FileExists(source), 1);
    EXPECT_EQ(FileExists(RtString(dir.c_str())), 0);
    EXPECT_EQ(FileExists(RtString(std::string(1024, 'a'))), 0);
    EXPECT_EQ(FileSize(source), 10000);
    EXPECT_EQ(FileSize("missing.bin"), 0);
    FileCopy(source, target);
    EXPECT_EQ(ReadFile(target.c_str()), std::string(10000, 's'));
    // A missing source leaves the target as it was.
    FileCopy("missing.bin", target);
    EXPECT_EQ(FileSize(target), 10000);

    std::string backslashed(target.view());
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    RtString path(backslashed);
    EXPECT_EQ(FileExists(path), 1);
    PathToForwardSlashes(path);
    EXPECT_EQ(path, target);
    FileDelete(RtString(backslashed));
    EXPECT_EQ(FileExists(target), 0);
}

// Program end writes files that do not exist yet where they were selected, whatever the current folder,
// closes the channels and removes the extracted copies.
TEST(ProgramEndDeathTest, WritesBackClosesChannelsAndRemovesExtractedCopies) {
    std::string dir = NamedDir("program-end");
    std::string program = dir + "prog";
    WriteBytes(program, "program");
    WriteBytes(dir + "tile.png", "tile");
    ASSERT_EQ(RunPacker(program + " " + dir + "tile.png"), 0);
    EXPECT_EXIT(
        {
            AttachSubsystems();
            StartRuntime();
            ArchiveRegister(RuntimeArchive(), program);
            RtString path;
            if (!ArchiveResolve("tile.png", path)) std::_Exit(100);
            std::ofstream(dir + "extracted-to.txt") << RuntimeArchive().extractDir << std::flush;
            FileOpen(0, RtString((dir + "written.txt").c_str()), false);
            FileWriteLine(0, "kept");
            IniSelectFile(RtString((dir + "new.ini").c_str()));
            IniWriteValue("Screen", "ResX", "800");
            LineFileWrite(RtString((dir + "lines.txt").c_str()), 1, "one");
            CurrentDirSet("/");
            EndCommand();
        },
        testing::ExitedWithCode(0), "");
    std::string extractDir = ReadFile(dir + "extracted-to.txt");
    struct stat st;
    EXPECT_NE(extractDir, "");
    EXPECT_NE(stat(extractDir.c_str(), &st), 0) << extractDir;
    EXPECT_EQ(ReadFile(dir + "written.txt"), "kept\r\n");
    EXPECT_EQ(ReadFile(dir + "new.ini"), "[Screen]\r\nResX=800\r\n");
    EXPECT_EQ(ReadFile(dir + "lines.txt"), "\r\none\r\n");
}
