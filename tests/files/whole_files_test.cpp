// Whole-file operations, and what program end does with channels and extracted copies.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(WholeFiles, ExistsSizeCopyDeleteAndSlashes) {
    std::string dir = FreshDir();
    std::string source = dir + "source.bin";
    WriteBytes(source, std::string(10000, 's'));
    WriteBytes(dir + "target.bin", "old");
    EXPECT_EQ(FileExists(RtString(source.c_str())), 1);
    EXPECT_EQ(FileExists(RtString(dir.c_str())), 0);
    EXPECT_EQ(FileSize(RtString(source.c_str())), 10000);
    EXPECT_EQ(FileSize("missing.bin"), 0);

    FileCopy(RtString(source.c_str()), RtString((dir + "target.bin").c_str()));
    EXPECT_EQ(ReadFile(dir + "target.bin"), std::string(10000, 's'));
    // A missing source leaves the target as it was.
    FileCopy("missing.bin", RtString((dir + "target.bin").c_str()));
    EXPECT_EQ(FileSize(RtString((dir + "target.bin").c_str())), 10000);

    RtString backslashed((dir + "target.bin").c_str());
    std::string withBackslashes(backslashed.view());
    for (char& c : withBackslashes)
        if (c == '/') c = '\\';
    EXPECT_EQ(FileExists(RtString(withBackslashes)), 1);
    RtString path(withBackslashes);
    PathToForwardSlashes(path);
    EXPECT_EQ(path, backslashed);

    FileDelete(RtString(withBackslashes));
    EXPECT_EQ(FileExists(backslashed), 0);
    EXPECT_EQ(FileExists(RtString(std::string(1024, 'a'))), 0);
}

TEST(WholeFilesDeathTest, ProgramEndClosesChannelsAndRemovesExtractedCopies) {
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
            WriteErrorLog(RuntimeArchive().extractDir.c_str());
            FileOpen(0, RtString((dir + "written.txt").c_str()), false);
            FileWriteLine(0, "kept");
            EndCommand();
        },
        testing::ExitedWithCode(0), "");
    std::string log = ReadLog();
    size_t at = log.find("tmv-sbx-");
    ASSERT_NE(at, std::string::npos);
    size_t start = log.rfind('\n', at) + 1;
    std::string extractDir = log.substr(start, log.find('\r', at) - start);
    struct stat st;
    EXPECT_NE(stat(extractDir.c_str(), &st), 0) << extractDir;
    EXPECT_EQ(ReadFile(dir + "written.txt"), "kept\r\n");
}
