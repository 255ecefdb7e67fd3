// The current folder and the wildcard matcher of file lists.
#include "platform/paths.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(Directories, CurrentDirGetEndsWithOneSlashWhateverTheLength) {
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
    platform::SetCurrentDir(start);
}

TEST(Directories, WildcardsMatchLikeTheSystemsFileFinder) {
    EXPECT_TRUE(WildcardMatch("*.png", "a.PNG"));
    EXPECT_TRUE(WildcardMatch("*.png", "b.png"));
    EXPECT_FALSE(WildcardMatch("*.png", "c.txt"));
    EXPECT_FALSE(WildcardMatch("?.txt", ".txt"));
    EXPECT_TRUE(WildcardMatch("?.txt", "a.txt"));
    EXPECT_TRUE(WildcardMatch("*", "archive.tar.gz"));
    EXPECT_TRUE(WildcardMatch("*.gz", "archive.tar.gz"));
    EXPECT_TRUE(WildcardMatch("a**b*", "aXbYbZ"));
    EXPECT_TRUE(WildcardMatch("*ab*cd", "xabyabzcd"));
    EXPECT_FALSE(WildcardMatch("*ab*cd", "xabyabzc"));
    EXPECT_FALSE(WildcardMatch("abc", "abcd"));
    EXPECT_FALSE(WildcardMatch("", "a"));
}
