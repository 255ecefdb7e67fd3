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
    std::string path = FileWith("zero\r\none\t\n\ntre\xE9\n" + std::string(1500, 'x') + "\nafter");
    RtString name(path.c_str());
    const std::pair<int32_t, const char*> reads[] = {{0, "zero"},  {1, "one"},       {2, "NO_DATA"}, {3, "tre\xE9"},
                                                     {5, "after"}, {256, "NO_DATA"}, {-1, "NO_DATA"}};
    for (const auto& [index, line] : reads) EXPECT_EQ(LineFileRead(name, index), line) << index;
    EXPECT_EQ(LineFileRead(name, 4).Length(), 1023u);

    for (int32_t index : {256, -1}) {
        Runtime().errorCode = 0;
        LineFileWrite(name, index, "x");
        EXPECT_EQ(Runtime().errorCode, 7) << index;
    }
    EXPECT_FALSE(CurrentLineFile().modified);

    LineFileWrite(name, 1, RtString(std::string(2000, 'y')));
    LineFileFlush();
    std::string back = ReadFile(path);
    EXPECT_EQ(back.substr(0, 6), "zero\r\n");
    EXPECT_EQ(back.find(std::string(1024, 'y')), std::string::npos);
    EXPECT_NE(back.find(std::string(1023, 'y') + "\r\n"), std::string::npos);
}

TEST(LineFiles, LinesPastTheFirst64KiBAreRead) {
    std::string bytes;
    for (int i = 0; i < 80; ++i) bytes += std::string(999, char('a' + i % 26)) + "\n";
    EXPECT_EQ(LineFileRead(RtString(FileWith(bytes).c_str()), 79), std::string(999, 'b').c_str());
}
