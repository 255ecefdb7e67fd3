// INI files: the line parser's cases, lookups, changes, the write-back, its safety and its failures.
#include "platform/directories.h"
#include "platform/files.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string IniWith(const std::string& text) {
    std::string path = FreshDir() + "test.ini";
    WriteBytes(path, text);
    return path;
}

RtString Read(const char* section, const char* key) { return IniReadValue(section, key); }

} // namespace

TEST(IniFiles, ParserKeepsItsQuirks) {
    IniSelectFile(RtString(IniWith("top=level\r\n[Screen]\r\nResX = 800\r\nnovalue\r\nkey value\r\n"
                                   "name=  two words  \r\ntabbed=x\t\r\nempty=\r\ndup=first\r\ndup=second\r\n"
                                   "; comment=1\r\n#hash=2\r\n[Empty]\r\n[my section]\r\na=1\r\n"
                                   "[screen]x\r\nb=2\r\n[]\r\nc=3\r\n  [ Screen ]\r\nResX=999\r\nlast=no line end")
                               .c_str()));
    // "[]" continues "screen]x" as a section of its own: lookups stop at the first of a name.
    const char* reads[][3] = {
        {"", "top", "level"},           {"SCREEN", "resx", "800"},         {"Screen", "novalue", "NO_DATA"},
        {"Screen", "key", "NO_DATA"},   {"Screen", "name", "two words  "}, {"Screen", "tabbed", "x"},
        {"Screen", "empty", "NO_DATA"}, {"Screen", "dup", "first"},        {"Screen", "; comment", "NO_DATA"},
        {"Screen", "#hash", "2"},       {"Empty", "a", "NO_DATA"},         {"my", "a", "1"},
        {"screen]x", "b", "2"},         {"screen]x", "c", "NO_DATA"},      {"screen", "last", "NO_DATA"}};
    for (const auto& [section, key, value] : reads) EXPECT_EQ(Read(section, key), value) << section << "/" << key;
    const std::vector<IniSection>& sections = CurrentIni().table.sections;
    ASSERT_EQ(sections.size(), 6u);
    EXPECT_EQ(sections[1].name, "Screen");
    EXPECT_EQ(sections[4].entries[0].key, "c");
    EXPECT_EQ(sections[5].entries[1].value, "no line end");
    EXPECT_FALSE(CurrentIni().table.modified);
}

TEST(IniFiles, WritesSetAddRemoveAndReachTheFile) {
    std::string path = IniWith("[s]\na=1\nb=2\nc=3\n[gone]\nx=1\n[t]\ny=1\n");
    IniSelectFile(RtString(path.c_str()));
    IniWriteValue("S", "a", "");
    IniWriteValue("s", "b", "two");
    IniWriteValue("new", "k", "");
    IniWriteValue("new", "v", "x\r\n[evil]\r\nz=1");
    IniWriteValue("gone", "", "");
    IniWriteValue("s", "\r\n", "kept");
    IniSelectFile("");
    // Removals keep the order of what remains; new sections come last.
    EXPECT_EQ(ReadFile(path), "[s]\r\nb=two\r\nc=3\r\n[t]\r\ny=1\r\n[new]\r\nk=\r\nv=x\r\n");
    IniSelectFile(RtString(path.c_str()));
    EXPECT_EQ(Read("new", "k"), "NO_DATA");
    EXPECT_EQ(Read("evil", "z"), "NO_DATA");
    // An empty file name is never written.
    IniSelectFile("");
    IniWriteValue("s", "k", "v");
    IniSelectFile(RtString(path.c_str()));
    EXPECT_EQ(Read("s", "k"), "NO_DATA");
}

TEST(IniFiles, WriteBacksOnReselectionAfterASectionRemovalAndThroughALink) {
    std::string dir = FreshDir();
    RtString same((dir + "same.ini").c_str()), sections((dir + "sections.ini").c_str());
    WriteBytes(same.c_str(), "; comment\n[s]\nk = 1\n");
    IniSelectFile(same);
    IniWriteValue("s", "k", "2");
    IniSelectFile(same);
    EXPECT_EQ(ReadFile(same.c_str()), "; comment\r\n[s]\r\nk=2\r\n");
    EXPECT_EQ(Read("s", "k"), "2");
    EXPECT_FALSE(CurrentIni().table.modified);

    // Keys of the unnamed section go before the first header.
    IniWriteValue("", "top", 800);
    IniSelectFile(same);
    EXPECT_EQ(ReadFile(same.c_str()), "; comment\r\ntop=800\r\n[s]\r\nk=2\r\n");
    EXPECT_EQ(Read("", "top"), "800");
    EXPECT_EQ(Read("s", "top"), "NO_DATA");

    // Removing a section is the only change: it must still reach the file.
    WriteBytes(sections.c_str(), "[a]\nx=1\n[b]\ny=2\n");
    IniSelectFile(sections);
    IniWriteValue("A", "", "");
    IniSelectFile("");
    EXPECT_EQ(ReadFile(sections.c_str()), "[b]\r\ny=2\r\n");

    // The new file replaces the one the link names, not the link.
    ASSERT_EQ(symlink(same.c_str(), (dir + "link.ini").c_str()), 0);
    IniSelectFile(RtString((dir + "link.ini").c_str()));
    IniWriteValue("s", "k", "3");
    IniSelectFile("");
    struct stat st;
    ASSERT_EQ(lstat((dir + "link.ini").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(same.c_str()), "; comment\r\ntop=800\r\n[s]\r\nk=3\r\n");
}

// A write-back never replaces what it must not, never fails silently, and copes with the longest names.
TEST(IniFiles, WriteBacksKeepReadOnlyFilesAndReportEveryFailure) {
    std::string dir = FreshDir();
    std::string longest = dir + std::string(255, 'n'), readOnly = dir + "read-only.ini", full = dir + "full.ini";
    WriteBytes(readOnly, "[s]\nk=old\n");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    WriteBytes(full, "[s]\nk=old\n");
    struct Case {
        std::string path;
        std::string after;
        std::string reason; // "" where the write-back must succeed
    };
    const Case cases[] = {{longest, "[s]\r\nk=vvv\r\n", ""},
                          {readOnly, "[s]\nk=old\n", "Permission denied"},
                          {dir + "no-folder/x.ini", "", "No such file or directory"},
                          {full, "[s]\nk=old\n", "File too large"}};
    // A full disk: writes past 64 KiB fail.
    rlimit old{}, small{};
    getrlimit(RLIMIT_FSIZE, &old);
    small = old;
    small.rlim_cur = 65536;
    std::signal(SIGXFSZ, SIG_IGN);
    for (const Case& c : cases) {
        IniSelectFile(RtString(c.path.c_str()));
        IniWriteValue("s", "k", RtString(std::string(c.path == full ? 100000 : 3, 'v')));
        if (c.path == full) setrlimit(RLIMIT_FSIZE, &small);
        testing::internal::CaptureStderr();
        IniSelectFile("");
        std::string said = testing::internal::GetCapturedStderr();
        setrlimit(RLIMIT_FSIZE, &old);
        std::string failure = "Could not write " + c.path;
        EXPECT_EQ(ReadFile(c.path), c.after) << c.path;
        EXPECT_EQ(said, c.reason.empty() ? "" : failure + ": " + c.reason + "\n");
        std::string log = ReadLog();
        size_t first = log.find(failure + "\r\n");
        EXPECT_EQ(first != std::string::npos, !c.reason.empty()) << c.path;
        EXPECT_EQ(log.find(failure + "\r\n", first + 1), std::string::npos) << "logged once: " << c.path;
    }
    // Only the files themselves are left in the folder.
    std::vector<platform::DirectoryEntry> entries;
    ASSERT_TRUE(platform::ListDirectory(dir, entries));
    EXPECT_EQ(entries.size(), 5u);
}

// Files from Debian's packages keep every line a change leaves alone.
TEST(IniFiles, DebianFilesKeepCommentsBlankLinesAndOrderThroughAChangeAndAReload) {
    std::string inih = IniWith(ReadFile("/usr/share/doc/libinih-dev/examples/test.ini"));
    IniSelectFile(RtString(inih.c_str()));
    IniWriteValue("protocol", "version", "7");
    IniWriteValue("user", "email", "");
    IniWriteValue("PROTOCOL", "port", "80");
    IniWriteValue("user", "phone", "555");
    IniWriteValue("extra", "k", "v");
    IniSelectFile("");
    EXPECT_EQ(ReadFile(inih), "; Test config file for ini_example.c and INIReaderTest.cpp\r\n"
                              "\r\n"
                              "[protocol]             ; Protocol configuration\r\n"
                              "version=7\r\n"
                              "port=80\r\n"
                              "\r\n"
                              "[user]\r\n"
                              "name = Bob Smith       ; Spaces around '=' are stripped\r\n"
                              "active = true          ; Test a boolean\r\n"
                              "pi = 3.14159           ; Test a floating point number\r\n"
                              "phone=555\r\n"
                              "[extra]\r\n"
                              "k=v\r\n");
    IniSelectFile(RtString(inih.c_str()));
    const char* reads[][3] = {{"protocol", "version", "7"},
                              {"protocol", "port", "80"},
                              {"user", "email", "NO_DATA"},
                              {"user", "phone", "555"},
                              {"extra", "k", "v"}};
    for (const auto& [section, key, value] : reads) EXPECT_EQ(Read(section, key), value) << section << "/" << key;

    // Nothing but comments and blank lines: all of them stay, the new key goes after them.
    std::string pulse = ReadFile("/etc/pulse/client.conf");
    ASSERT_NE(pulse.find("\n; autospawn = yes\n"), std::string::npos);
    std::string path = IniWith(pulse);
    IniSelectFile(RtString(path.c_str()));
    IniWriteValue("", "autospawn", "no");
    IniSelectFile(RtString(path.c_str()));
    EXPECT_EQ(Read("", "autospawn"), "no");
    std::string crlf;
    for (char c : pulse) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadFile(path), crlf + "autospawn=no\r\n");
}

TEST(IniFilesDeathTest, KilledBetweenWritingAndRenamingLeavesTheOldFile) {
    std::string dir = NamedDir("ini-killed");
    std::string path = dir + "test.ini";
    WriteBytes(path, "[s]\nk=old\n");
    EXPECT_EXIT(
        {
            IniSelectFile(RtString(path.c_str()));
            IniWriteValue("s", "k", "new");
            platform::TestHooks().beforeReplace = [] { std::raise(SIGKILL); };
            EndCommand();
        },
        testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(ReadFile(path), "[s]\nk=old\n");
    // The complete new contents wait beside it under a temporary name: the kill came right before the rename.
    std::vector<platform::DirectoryEntry> entries;
    ASSERT_TRUE(platform::ListDirectory(dir, entries));
    std::string temporary;
    for (const platform::DirectoryEntry& e : entries)
        if (e.name.rfind(".tmv", 0) == 0) temporary = e.name;
    ASSERT_NE(temporary, "");
    EXPECT_EQ(ReadFile(dir + temporary), "[s]\r\nk=new\r\n");
    // The next rewrite of the file removes the leftover.
    IniSelectFile(RtString(path.c_str()));
    IniWriteValue("s", "k", "newer");
    IniSelectFile("");
    EXPECT_EQ(ReadFile(path), "[s]\r\nk=newer\r\n");
    EXPECT_FALSE(platform::FileReadable(dir + temporary));
}

TEST(IniFiles, OtherTablesLoadOnTheirOwnAndLongLinesAreCut) {
    IniTable table;
    // A line longer than the buffer is cut at its end; its rest must not turn into a key.
    IniLoadFile(table, RtString(IniWith("[obj]\na=" + std::string(1022, 'v') + "b=2\nc=3\n").c_str()));
    EXPECT_EQ(IniLookup(table, "OBJ", "A").Length(), 1022u);
    EXPECT_EQ(IniLookup(table, "obj", "b"), "NO_DATA");
    EXPECT_EQ(IniLookup(table, "obj", "c"), "3");
    IniLoadFile(table, "missing.ini");
    EXPECT_TRUE(table.sections.empty());
    EXPECT_EQ(table.fileName, "missing.ini");
}
