// The current folder and the wildcard matcher of file lists.
#include "platform/paths.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    const char* matches[][2] = {{"*.png", "a.PNG"},   {"?.txt", "a.txt"},  {"*", "x.tar.gz"},
                                {"*.gz", "x.tar.gz"}, {"a**b*", "aXbYbZ"}, {"*ab*cd", "xabyabzcd"}};
    const char* misses[][2] = {{"*.png", "c.txt"}, {"?.txt", ".txt"}, {"*ab*cd", "xabyabzc"},
                               {"abc", "abcd"},    {"", "a"},         {"a?", "a"}};
    for (auto [pattern, name] : matches) EXPECT_TRUE(WildcardMatch(pattern, name)) << pattern << " " << name;
    for (auto [pattern, name] : misses) EXPECT_FALSE(WildcardMatch(pattern, name)) << pattern << " " << name;
}

// A link to a folder counts as a folder.
TEST(Directories, FileListPutsEveryFolderFirstThenTheMatchingFiles) {
    std::string start = platform::CurrentDir();
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
    platform::SetCurrentDir(start);
}
