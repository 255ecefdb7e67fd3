// Whole-file operations, the current folder, file lists and their wildcards, and what program end does
// with written-back files and extracted copies.
#include "platform/paths.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

TEST(WholeFiles, ExistsSizeCopyAndDeleteWithBackslashes) {
    std::string dir = FreshDir();
    // The target's name is as long as any command takes, 1023 bytes, padded with slashes.
    RtString source((dir + "source.bin").c_str()),
        target((dir + std::string(1013 - dir.size(), '/') + "target.bin").c_str());
    WriteBytes(source.c_str(), std::string(10000, 's'));
    EXPECT_EQ(std::vector<double>(
                  {FileExists(source), FileExists(RtString(dir.c_str())), FileSize(source), FileSize("missing.bin")}),
              std::vector<double>({1, 0, 10000, 0}));
    FileCopy(source, target);
    EXPECT_EQ(ReadFile(target.c_str()), std::string(10000, 's'));
    // A missing source leaves the target as it was.
    FileCopy("missing.bin", target);
    EXPECT_EQ(FileSize(target), 10000);
    // So does a disk that fills up midway: here a limit on file sizes, past which writes fail.
    WriteBytes(source.c_str(), std::string(10000, 'x'));
    rlimit usual;
    getrlimit(RLIMIT_FSIZE, &usual);
    const rlimit small{5000, usual.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    FileCopy(source, target);
    setrlimit(RLIMIT_FSIZE, &usual);
    EXPECT_EQ(ReadFile(target.c_str()), std::string(10000, 's'));

    std::string backslashed(target.view());
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    FileDelete(RtString(backslashed));
    EXPECT_EQ(FileExists(target), 0);
}

TEST(Directories, WildcardsMatchLikeTheSystemsFileFinder) {
    const char* matches[][2] = {{"*.png", "a.PNG"}, {"?.ZAP", "a.zap"}, {"*", "x.tar.gz"}, {"*ab*cd", "xabyabzcd"}};
    const char* misses[][2] = {{"?.txt", ".txt"}, {"*ab*cd", "xabyabzc"}, {"abc", "abcd"}, {"a?", "a"}};
    for (auto [pattern, name] : matches) EXPECT_TRUE(WildcardMatch(pattern, name)) << pattern << " " << name;
    for (auto [pattern, name] : misses) EXPECT_FALSE(WildcardMatch(pattern, name)) << pattern << " " << name;
}

// The current folder ends in one slash whatever its length; a link to a folder counts as a folder.
TEST(Directories, CurrentDirGetAndFileListsPutEveryFolderFirstThenTheMatchingFiles) {
    std::string start = platform::CurrentDir();
    ASSERT_EQ(CurrentDirSet("/"), 1);
    EXPECT_EQ(CurrentDirGet(), "/");
    std::string dir = FreshDir();
    for (const char* name : {"a.PNG", "b.png", "c.txt"}) WriteBytes(dir + name, "x");
    ASSERT_EQ(mkdir((dir + "sub.png.d").c_str(), 0700), 0);
    ASSERT_EQ(symlink("sub.png.d", (dir + "link.png").c_str()), 0);
    ASSERT_EQ(CurrentDirSet(RtString(dir.c_str())), 1);
    RtArray<RtString> names;
    EXPECT_EQ(FileList("*.png", names), 4 * 65536 + 2);
    std::vector<std::string> listed;
    for (const RtString& name : names) listed.push_back(name.str());
    std::sort(listed.begin(), listed.begin() + 4);
    std::sort(listed.begin() + 4, listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{".", "..", "link.png", "sub.png.d", "a.PNG", "b.png"}));
    // Longer than the 256 bytes a fixed buffer would hold.
    std::string deep = dir;
    for (int i = 0; i < 12; ++i) deep += std::string(40, 'd') + "/";
    ASSERT_EQ(std::system(("mkdir -p " + deep).c_str()), 0);
    ASSERT_EQ(CurrentDirSet(RtString(deep.c_str())), 1);
    EXPECT_EQ(CurrentDirGet(), deep.c_str());
    EXPECT_EQ(CurrentDirSet("/no/such/folder"), 0);
    // A removed folder cannot be reported: a name appended to the answer must not land in the root.
    ASSERT_EQ(rmdir(deep.c_str()), 0);
    EXPECT_EQ(CurrentDirGet(), "");
    platform::SetCurrentDir(start);
}

// However a program ends, its files are written back (new ones, and one read from the archive, to the
// name selected, whatever the current folder) and the copies extracted from the archive go.
TEST(ProgramEndDeathTest, NothingIsLostHoweverTheProgramEnds) {
    std::string dir = NamedDir("program-end"), program = dir + "prog";
    WriteBytes(program, "program");
    WriteBytes(dir + "packed.txt", "inside");
    WriteBytes(dir + "settings.ini", "[Screen]\nResX=800\n");
    ASSERT_EQ(RunPacker(program + " " + dir + "packed.txt " + dir + "settings.ini"), 0);
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
        for (const char* name : {"settings.ini", "lines.txt"}) std::filesystem::remove(dir + name);
        EXPECT_EXIT(changeFilesThenEnd(end), testing::ExitedWithCode(status), "");
        EXPECT_EQ(ReadFile(dir + "settings.ini"), "[Screen]\r\nResX=800\r\nwidth=800\r\n") << status;
        EXPECT_EQ(ReadFile(dir + "lines.txt"), "\r\none\r\n") << status;
        std::string copy = ReadFile(dir + "copy.txt");
        EXPECT_TRUE(copy.ends_with("packed.txt") && !platform::FileReadable(copy)) << copy;
    }
}

// Without a usable $TMPDIR (a fresh process, since the folder is chosen once) the temporary folder is
// a private one of ours in /tmp: "tmv-<uid>" itself once it is ours and private, so runs share it.
TEST(TempDirDeathTest, WithoutTmpdirAFolderOfOursInTmp) {
    std::string own = "/tmp/tmv-" + std::to_string(geteuid());
    bool ours = mkdir(own.c_str(), 0700) == 0 || chmod(own.c_str(), 0700) == 0;
    for (const char* tmpdir : {static_cast<const char*>(nullptr), ""}) {
        auto choose = [tmpdir] {
            tmpdir ? setenv("TMPDIR", tmpdir, 1) : unsetenv("TMPDIR");
            std::fputs(platform::TempDir().c_str(), stderr);
            std::exit(0);
        };
        EXPECT_EXIT(choose(), testing::ExitedWithCode(0), ours ? "^" + own + "/$" : "^" + own + "-[A-Za-z0-9]{6}/$");
    }
}
