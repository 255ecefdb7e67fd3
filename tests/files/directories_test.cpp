// The current folder and the wildcard matcher of file lists.
#include "platform/paths.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

TEST(Directories, CurrentDirGetEndsWithOneSlashWhateverTheLengthAndIsEmptyWhenGone) {
    std::string start = platform::CurrentDir();
    ASSERT_EQ(CurrentDirSet("/"), 1);
    EXPECT_EQ(CurrentDirGet(), "/");
    // Longer than the 256 bytes a fixed buffer would hold.
    std::string deep = FreshDir();
    for (int i = 0; i < 12; ++i) deep += std::string(40, 'd') + "/";
    ASSERT_EQ(std::system(("mkdir -p " + deep).c_str()), 0);
    ASSERT_EQ(CurrentDirSet(RtString(deep.c_str())), 1);
    EXPECT_EQ(CurrentDirGet(), deep.c_str());
    EXPECT_EQ(CurrentDirSet("/no/such/folder"), 0);
    EXPECT_EQ(CurrentDirGet(), deep.c_str());
    // A removed folder cannot be reported: a name appended to the answer must not land in the root.
    ASSERT_EQ(rmdir(deep.c_str()), 0);
    EXPECT_EQ(CurrentDirGet(), "");
    platform::SetCurrentDir(start);
}

TEST(Directories, WildcardsMatchLikeTheSystemsFileFinder) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"*.png", "a.PNG", true},
        {"*.png", "c.txt", false},
        {"?.txt", ".txt", false},
        {"?.txt", "a.txt", true},
        {"*", "archive.tar.gz", true},
        {"*.gz", "archive.tar.gz", true},
        {"a**b*", "aXbYbZ", true},
        {"*ab*cd", "xabyabzcd", true},
        {"*ab*cd", "xabyabzc", false},
        {"abc", "abcd", false},
        {"", "a", false},
    };
    for (auto [pattern, name, matches] : cases)
        EXPECT_EQ(WildcardMatch(pattern, name), matches) << pattern << " " << name;
}

TEST(Directories, FileListPutsEveryFolderFirstThenTheMatchingFiles) {
    std::string start = platform::CurrentDir();
    std::string dir = FreshDir();
    for (const char* name : {"a.PNG", "b.png", "c.txt"}) WriteBytes(dir + name, "x");
    ASSERT_EQ(mkdir((dir + "sub.png.d").c_str(), 0700), 0);
    ASSERT_EQ(CurrentDirSet(RtString(dir.c_str())), 1);
    RtArray<RtString> names;
    EXPECT_EQ(FileList("*.png", names), 3 * 65536 + 2);
    ASSERT_EQ(Bounds(names, 0), 5);
    std::multiset<std::string> folders{std::string(names(0).view()), std::string(names(1).view()),
                                       std::string(names(2).view())};
    EXPECT_EQ(folders, (std::multiset<std::string>{".", "..", "sub.png.d"}));
    std::multiset<std::string> files{std::string(names(3).view()), std::string(names(4).view())};
    EXPECT_EQ(files, (std::multiset<std::string>{"a.PNG", "b.png"}));
    EXPECT_EQ(FileList("?.txt", names), 3 * 65536 + 1);
    EXPECT_EQ(names(3), "c.txt");
    platform::SetCurrentDir(start);
}
