// Whole-file operations, FIFOs where files were expected, and what program end does with channels,
// written-back files, extracted copies and the program's own exit work.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "runtime/files/system_services.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

// Runs a command; its exit status, and what it printed in out.
int RunCommand(const std::string& command, std::string& out) {
    out.clear();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

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

// Nothing waits on a FIFO that stands where a file was expected: each command fails at once.
TEST(WholeFiles, AFifoInPlaceOfAFileFailsAtOnce) {
    std::string fifo = FreshDir() + "fifo.ini";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    RtString name(fifo.c_str()), module = name;
    void* pointer = &module;
    LibraryBind(module, "f", pointer);
    IniSelectFile(name);
    EXPECT_EQ(FileExists(name), 0);
    EXPECT_FALSE(FileOpen(0, name, true));
    EXPECT_EQ(LineFileRead(name, 0), "NO_FILE");
    EXPECT_TRUE(CurrentIni().table.sections.empty());
    EXPECT_EQ(pointer, nullptr);
    IniSelectFile("");
}

// Programs ending every way a program can: files written back (new ones where they were selected,
// whatever the current folder), channels closed, extracted copies removed, their own exit work done,
// the status kept. A program that calls only RuntimeMain has the default font and the packed archive.
TEST(ProgramEnd, ChildProgramsLoseNothingHoweverTheyEnd) {
    std::string home = FreshDir();
    std::string program = home + "end_child";
    std::filesystem::copy_file(END_CHILD_PATH, program);
    std::filesystem::copy_file(platform::ProgramDir() + "/smalfont.bmp", home + "smalfont.bmp");
    WriteBytes(home + "packed.txt", "inside");
    ASSERT_EQ(RunPacker(program + " " + home + "packed.txt"), 0);
    std::filesystem::remove(home + "packed.txt");
    struct Case {
        const char* mode;
        int status;
        bool ownExitWork;
    };
    for (Case c : {Case{"return", 0, false}, Case{"exit", 0, false}, Case{"end", 0, true}, Case{"fatal", 9, true}}) {
        std::string dir = FreshDir(), out;
        EXPECT_EQ(RunCommand(program + " " + c.mode + " " + dir, out), c.status) << c.mode;
        EXPECT_EQ(ReadFile(dir + "settings.ini"), "top=1\r\n[screen]\r\nwidth=800\r\n") << c.mode;
        EXPECT_EQ(ReadFile(dir + "lines.txt"), "\r\none\r\n") << c.mode;
        if (!c.ownExitWork) continue;
        EXPECT_EQ(out, "font 8x16, packed entry found\n") << c.mode;
        EXPECT_EQ(ReadFile(dir + "stream.txt"), "buffered") << c.mode;
        EXPECT_EQ(ReadFile(dir + "handler.txt"), "ran") << c.mode;
        EXPECT_EQ(ReadFile(dir + "written.txt"), "kept\r\n") << c.mode;
        std::string copy = ReadFile(dir + "copy.txt");
        EXPECT_TRUE(copy.ends_with("packed.txt") && !platform::FileReadable(copy)) << copy;
    }
}
