// Whole-file operations, and what program end does with written-back files and extracted copies.
#include "platform/paths.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

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
    PathToForwardSlashes(path);
    EXPECT_EQ(path, target);
    FileDelete(RtString(backslashed));
    EXPECT_EQ(FileExists(target), 0);
}

// However a program ends, its files are written back (new ones where they were selected, whatever the
// current folder) and the copies extracted from the archive go.
TEST(ProgramEndDeathTest, NothingIsLostHoweverTheProgramEnds) {
    std::string dir = NamedDir("program-end"), program = dir + "prog";
    WriteBytes(program, "program");
    WriteBytes(dir + "packed.txt", "inside");
    ASSERT_EQ(RunPacker(program + " " + dir + "packed.txt"), 0);
    std::filesystem::remove(dir + "packed.txt");
    auto changeFilesThenEnd = [&](void (*end)()) {
        AttachSubsystems();
        ArchiveRegister(RuntimeArchive(), program);
        RtString copy;
        ArchiveResolve("packed.txt", copy);
        WriteBytes(dir + "copy.txt", copy.c_str());
        IniSelectFile(RtString((dir + "settings.ini").c_str()));
        IniWriteValue("screen", "width", 800);
        LineFileWrite(RtString((dir + "lines.txt").c_str()), 1, "one");
        CurrentDirSet("/");
        end();
    };
    const std::pair<void (*)(), int> ends[] = {
        {[] { std::exit(0); }, 0}, {EndCommand, 0}, {[] { RuntimeError(9); }, 9}};
    for (auto [end, status] : ends) {
        std::filesystem::remove(dir + "settings.ini");
        std::filesystem::remove(dir + "lines.txt");
        EXPECT_EXIT(changeFilesThenEnd(end), testing::ExitedWithCode(status), "");
        EXPECT_EQ(ReadFile(dir + "settings.ini"), "[screen]\r\nwidth=800\r\n") << status;
        EXPECT_EQ(ReadFile(dir + "lines.txt"), "\r\none\r\n") << status;
        std::string copy = ReadFile(dir + "copy.txt");
        EXPECT_TRUE(copy.ends_with("packed.txt") && !platform::FileReadable(copy)) << copy;
    }
}
