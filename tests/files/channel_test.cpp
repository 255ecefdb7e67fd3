// File channels: fixed-width values, byte strings, lines, positions and the fatal errors.
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::string FileWith(const std::string& bytes) {
    std::string path = FreshDir() + "data.bin";
    WriteBytes(path, bytes);
    return path;
}

} // namespace

TEST(FileChannels, FixedWidthReadsInterpretLittleEndianBytes) {
    double values[] = {2.75, -2.75};
    float quarter = 0.25f;
    std::string bytes = "\xFE\xFF\xFE\xFF\x80\xFF\xFF\xFF\xFF";
    bytes.append(reinterpret_cast<char*>(values), 16).append(reinterpret_cast<char*>(&quarter), 4);
    ASSERT_TRUE(FileOpen(0, RtString(FileWith(bytes).c_str()), true));
    int32_t i[6] = {};
    double d = 0;
    FileReadInt16(0, i[0]);
    FileReadUInt16(0, i[1]);
    FileReadInt8(0, i[2]);
    FileReadUInt32(0, i[3]);
    FileReadDouble(0, i[4]);
    FileReadDouble(0, i[5]);
    FileReadFloat(0, d);
    EXPECT_EQ(std::vector<int32_t>(i, i + 6), (std::vector<int32_t>{-2, 65534, -128, -1, 2, -2}));
    EXPECT_EQ(d, 0.25);
    EXPECT_EQ(FilePosition(0), 29);
    EXPECT_TRUE(FileEnd(0));
    FileClose(0);
}

TEST(FileChannels, WritesReplaceTheFileAndLeaveThePositionAlone) {
    std::string path = FreshDir() + "out.bin";
    WriteBytes(path, "old contents that must go");
    ASSERT_TRUE(FileOpen(3, RtString(path.c_str()), false));
    FileWriteInt16(3, -2);
    FileWriteInt32(3, 0x12345678);
    FileWriteDouble(3, -7.5);
    FileWriteFloat(3, 1e300);
    FileWriteLine(3, "line");
    FileWriteLineInteger(3, 42);
    EXPECT_EQ(FilePosition(3), 0);
    FileClose(3);
    // 1e300 does not fit a float: infinity.
    EXPECT_EQ(ReadFile(path),
              std::string("\xFE\xFF\x78\x56\x34\x12\0\0\0\0\0\0\x1E\xC0\0\0\x80\x7Fline\r\n42\r\n", 28));
}

TEST(FileChannels, LineReaderSplitsLongLinesDropsCrAndCountsPositions) {
    std::string longLine(1500, 'x');
    std::string path = FileWith(longLine + "\nab\r\nc\rd\r\n\nlast");
    ASSERT_TRUE(FileOpen(1, RtString(path.c_str()), true));
    RtString line;
    FileReadLine(1, line);
    EXPECT_EQ(line.Length(), 1024u);
    EXPECT_EQ(FilePosition(1), 1024);
    FileReadLine(1, line);
    EXPECT_EQ(line.Length(), 476u);
    for (const char* expected : {"ab", "c\rd", "", "last"}) {
        EXPECT_FALSE(FileEnd(1));
        FileReadLine(1, line);
        EXPECT_EQ(line, expected);
    }
    // After a last line without a line end the count stands one past the size.
    EXPECT_EQ(FilePosition(1), 1515 + 1);
    EXPECT_TRUE(FileEnd(1));
    FileClose(1);
}

TEST(FileChannels, NumberLinesBytesAndSeeks) {
    std::string path = FileWith(std::string("3.5e2\n-17abc\nab\0cd", 18));
    ASSERT_TRUE(FileOpen(2, RtString(path.c_str()), true));
    double number = 0;
    int32_t integer = 0;
    FileReadLineNumber(2, number);
    FileReadLineInteger(2, integer);
    EXPECT_EQ(number, 350);
    EXPECT_EQ(integer, -17);
    RtString bytes;
    FileReadBytes(2, bytes, 5);
    EXPECT_EQ(bytes, "ab");
    FileSeek(2, -3, -1);
    EXPECT_EQ(FilePosition(2), 15);
    FileSeek(2, 6, 0);
    FileSeek(2, 1, 1);
    FileReadBytes(2, bytes, 2);
    EXPECT_EQ(bytes, "17");
    FileClose(2);
    EXPECT_FALSE(FileOpen(2, "no such file.bin", true));
    EXPECT_FALSE(FileOpen(2, RtString(std::string(1024, 'n')), true));
}

TEST(FileChannelsDeathTest, ReadsPastTheEndAreErrorThreeAndBadChannelsAreErrorSeven) {
    std::string path = FileWith("only\n");
    RtString name(path.c_str());
    RtString target;
    int32_t value;
    auto lineAtTheEnd = [&] {
        FileOpen(0, name, true);
        FileReadLine(0, target);
        if (FileEnd(0)) FileReadLine(0, target);
    };
    // The child of a death test makes its own folder: the file's name is what stays.
    const char* pastTheEnd = "^Runtime error 3: read past the end of the file: .*/data\\.bin\n";
    EXPECT_EXIT(lineAtTheEnd(), testing::ExitedWithCode(3), pastTheEnd);
    // More than is left ends the program before any buffer of that size is made.
    EXPECT_EXIT((FileOpen(0, name, true), FileReadBytes(0, target, 2000000000)), testing::ExitedWithCode(3),
                pastTheEnd);
    EXPECT_EXIT((FileOpen(0, name, true), FileReadInt32(0, value), FileReadInt32(0, value)), testing::ExitedWithCode(3),
                "");
    EXPECT_EXIT(FileWriteLine(5, "x"), testing::ExitedWithCode(3), "^Runtime error 3: could not write to the file: channel 5\n");
    EXPECT_EXIT(FileOpen(8, "x", true), testing::ExitedWithCode(7), "^Runtime error 7: file channel outside 0 to 7\n");
    EXPECT_EXIT(FileClose(-1), testing::ExitedWithCode(7), "file channel outside 0 to 7");
}
