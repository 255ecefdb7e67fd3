// INI files: the line parser's cases, lookups, changes, the write-back, its safety and its failures.
#include "platform/directories.h"
#include "platform/files.h"
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>
#include <tuple>

TEST(IniFiles, ParserKeepsItsQuirks) {
    IniSelectFile(
        RtString(FileWith("top=level\r\n[Screen]\r\nResX = 800\r\nnovalue\r\nkey value\r\n"
                          "name=  two words  \r\ntabbed=\t\x01\t\r\nempty=\r\ndup=first\r\ndup=second\r\n"
                          "; comment=1\r\n#hash=2\r\n[Empty]\r\n[my section]\r\na=1\r\n"
                          "[screen]x\r\nb=2\r\n[]\r\nc=3\r\n  [ Screen ]\r\nResX=999\r\n[tail]\r\nlast=no line end")
                     .c_str()));
    // "[]" continues "screen]x" as a section of its own: lookups stop at the first of a name.
    const char* reads[][3] = {
        {"", "top", "level"},           {"SCREEN", "resx", "800"},         {"Screen", "novalue", "NO_DATA"},
        {"Screen", "key", "NO_DATA"},   {"Screen", "name", "two words  "}, {"Screen", "tabbed", ""},
        {"Screen", "empty", "NO_DATA"}, {"Screen", "dup", "first"},        {"Screen", "; comment", "NO_DATA"},
        {"Screen", "#hash", "2"},       {"Empty", "a", "NO_DATA"},         {"my", "a", "1"},
        {"screen]x", "b", "2"},         {"screen]x", "c", "NO_DATA"},      {"tail", "last", "no line end"}};
    for (const auto& [section, key, value] : reads) EXPECT_EQ(IniReadValue(section, key), value) << section << key;
    // Other tables load on their own. A line longer than the buffer is cut; its rest must not become a key.
    IniTable table;
    IniLoadFile(table, RtString(FileWith("[obj]\na=" + std::string(1022, 'v') + "b=2\nc=3\n").c_str()));
    EXPECT_EQ(IniLookup(table, "OBJ", "A").Length(), 1022u);
    EXPECT_EQ(IniLookup(table, "obj", "b") + IniLookup(table, "obj", "c"), "NO_DATA3");
}

// Random writes to the current file, each followed by a write-back and a reload: what is read back is
// what a map of the writes holds (names without regard to case; an empty value removes the key, an
// empty key the section; a line break cuts a text).
TEST(IniFiles, WritesReloadAsAMapOfThemHolds) {
    std::string path = FileWith("", "test.ini");
    std::mt19937 random(24);
    std::map<std::pair<std::string, std::string>, std::string> model; // by section and key in lower case
    for (int step = 0; step < 300; ++step) {
        std::string section = std::string("zZb#").substr(random() % 5, 1),
                    key = std::string("kKl").substr(random() % 4, 1);
        std::string value = random() % 4 ? std::to_string(random() % 100) + "\r\n[evil]\r\nz=1" : "";
        IniWriteValue(RtString(section), RtString(key), RtString(value));
        section = section == "Z" ? "z" : section;
        if (key.empty()) std::erase_if(model, [&](const auto& entry) { return entry.first.first == section; });
        if (!key.empty()) model[{section, key == "K" ? "k" : key}] = value.substr(0, value.find('\r'));
        std::erase_if(model, [](const auto& entry) { return entry.second.empty(); });
        IniSelectFile(RtString(path));
        for (const char* s : {"", "z", "b", "#", "evil"})
            for (const char* k : {"k", "l", "z"}) {
                auto found = model.find({s, k});
                ASSERT_EQ(IniReadValue(s, k), found == model.end() ? "NO_DATA" : found->second.c_str())
                    << step << s << k;
            }
    }
}

// A file from Debian's packages, after a key of its own, keeps every line a change leaves alone; added keys go
// to their sections.
TEST(IniFiles, WriteBacksKeepOtherLinesAndPlaceKeysInTheirSections) {
    RtString same(
        FileWith("first=1\n" + ReadFile("/usr/share/doc/libinih-dev/examples/test.ini") + "[gone]\nx=1\n[e]\nz=\n")
            .c_str());
    IniSelectFile(same);
    // "top" goes after the unnamed section's last key, before the first header; "e" is a section whose
    // only key was empty: filled, not repeated.
    for (auto [section, key, value] : {std::tuple("protocol", "version", "7"), {"user", "email", ""},
                                       {"PROTOCOL", "port", "80"}, {"", "top", "800"}, {"u", "v", "w"},
                                       {"e", "z", "1"}})
        IniWriteValue(section, key, value);
    IniSelectFile(same);
    // Removing a section is the only change: it must still reach the file.
    IniWriteValue("gone", "", "");
    IniSelectFile("");
    EXPECT_EQ(ReadFile(same.c_str()),
              "first=1\r\ntop=800\r\n; Test config file for ini_example.c and INIReaderTest.cpp\r\n\r\n"
              "[protocol]             ; Protocol configuration\r\nversion=7\r\nport=80\r\n\r\n"
              "[user]\r\nname = Bob Smith       ; Spaces around '=' are stripped\r\n"
              "active = true          ; Test a boolean\r\n"
              "pi = 3.14159           ; Test a floating point number\r\n"
              "[e]\r\nz=1\r\nz=\r\n[u]\r\nv=w\r\n");
}

// A write-back never replaces what it must not, never fails silently (on standard error and in the
// log), and copes with the longest names.
TEST(IniFiles, WriteBacksKeepReadOnlyFilesAndReportEveryFailure) {
    std::string dir = FreshDir(), readOnly = dir + "read-only.ini";
    WriteBytes(readOnly, "[s]\nk=old\n");
    ASSERT_EQ(chmod(readOnly.c_str(), 0444), 0);
    const std::string cases[][3] = {
        {dir + std::string(768 - dir.size(), '/') + std::string(255, 'n'), "[s]\r\nk=v\r\n", ""},
        {readOnly, "[s]\nk=old\n", "Permission denied"},
        {dir + "no-folder/x.ini", "", "No such file or directory"}};
    for (const auto& [path, after, reason] : cases) {
        IniSelectFile(RtString(path.c_str()));
        IniWriteValue("s", "k", "v");
        testing::internal::CaptureStderr();
        IniSelectFile("");
        std::string said = testing::internal::GetCapturedStderr(), failure = "Could not write " + path;
        EXPECT_EQ(ReadFile(path), after) << path;
        EXPECT_EQ(said, reason.empty() ? "" : failure + ": " + reason + "\n");
        EXPECT_EQ(ReadLog().find(failure + "\r\n") != std::string::npos, !reason.empty()) << path;
    }
}

TEST(IniFilesDeathTest, KilledBetweenWritingAndRenamingLeavesTheOldFile) {
    std::string dir = NamedDir("ini-killed"), path = dir + "test.ini";
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
    auto temporary = std::find_if(entries.begin(), entries.end(), [](auto& e) { return e.name.starts_with(".tmv"); });
    ASSERT_NE(temporary, entries.end());
    EXPECT_EQ(ReadFile(dir + temporary->name), "[s]\r\nk=new\r\n");
    // The next rewrite of the file removes the leftover.
    IniSelectFile(RtString(path.c_str()));
    IniWriteValue("s", "k", "newer");
    IniSelectFile("");
    EXPECT_EQ(ReadFile(path), "[s]\r\nk=newer\r\n");
    EXPECT_FALSE(platform::FileReadable(dir + temporary->name));
}
