// The line-indexed file: reading lines by number, writing them back as a whole.
#include "runtime/core/runtime_state.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>

TEST(LineFiles, WritingIndexFiveOfANewFileWritesSixLinesOnTheNextSelection) {
    std::string dir = FreshDir();
    LineFileWrite(RtString((dir + "new.txt").c_str()), 5, "five");
    EXPECT_EQ(LineFileRead(RtString((dir + "missing.txt").c_str()), 0), "NO_FILE");
    EXPECT_EQ(ReadFile(dir + "new.txt"), "\r\n\r\n\r\n\r\n\r\nfive\r\n");
    // The missing name is held now.
    EXPECT_EQ(LineFileRead(RtString((dir + "missing.txt").c_str()), 0), "NO_DATA");
}

TEST(LineFiles, ReadsTrimAndIndexesOutsideTheFileAreRefused) {
    std::string path = FreshDir() + "lines.txt";
    WriteBytes(path, "zero\r\none\t\n\ntre\xE9\n" + std::string(1500, 'x') + "\nafter");
    RtString name(path.c_str());
    EXPECT_EQ(LineFileRead(name, 0), "zero");
    EXPECT_EQ(LineFileRead(name, 1), "one");
    EXPECT_EQ(LineFileRead(name, 2), "NO_DATA");
    EXPECT_EQ(LineFileRead(name, 3), "tre\xE9");
    EXPECT_EQ(LineFileRead(name, 4).Length(), 1023u);
    EXPECT_EQ(LineFileRead(name, 5), "after");
    EXPECT_EQ(LineFileRead(name, 256), "NO_DATA");
    EXPECT_EQ(LineFileRead(name, -1), "NO_DATA");
    EXPECT_EQ(CurrentLineFile().name, path);

    Runtime().errorCode = 0;
    LineFileWrite(name, 256, "x");
    EXPECT_EQ(Runtime().errorCode, 7);
    Runtime().errorCode = 0;
    LineFileWrite(name, -1, "x");
    EXPECT_EQ(Runtime().errorCode, 7);
    EXPECT_FALSE(CurrentLineFile().modified);

    LineFileWrite(name, 1, RtString(std::string(2000, 'y')));
    LineFileFlush();
    std::string back = ReadFile(path);
    EXPECT_EQ(back.substr(0, 6), "zero\r\n");
    EXPECT_EQ(back.find(std::string(1024, 'y')), std::string::npos);
    EXPECT_NE(back.find(std::string(1023, 'y') + "\r\n"), std::string::npos);
}
