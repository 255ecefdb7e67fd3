// File channels (fixed-width values, byte strings, lines, positions and the fatal errors) and the
// line-indexed file (lines by number, written back as a whole).
#include "runtime/core/runtime_state.h"
#include "runtime/files/files.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

// Writes replace the file and leave the position alone; each read takes back what its write put there.
TEST(FileChannels, FixedWidthValuesAreLittleEndianBytesBothWaysSeeksCountFromStartHereOrEnd) {
    std::string path = FileWith("old contents that must go");
    ASSERT_TRUE(FileOpen(3, RtString(path.c_str()), false));
    const std::pair<void (*)(int32_t, int32_t), int32_t> integers[] = {
        {FileWriteInt8, -2},   {FileWriteUInt8, 300},        {FileWriteInt16, -2},
        {FileWriteUInt16, -2}, {FileWriteInt32, 0x12345678}, {FileWriteUInt32, -128}};
    // 1e300 is beyond a float: infinity; the largest float is itself.
    const std::pair<void (*)(int32_t, double), double> numbers[] = {
        {FileWriteDouble, -7.5}, {FileWriteFloat, 1e300}, {FileWriteFloat, FLT_MAX}, {FileWriteLineNumber, 3.5e2}};
    for (auto [write, value] : integers) write(3, value);
    for (auto [write, value] : numbers) write(3, value);
    FileWriteLine(3, "-17abc");
    EXPECT_EQ(FilePosition(3), 0);
    FileClose(3);
    EXPECT_EQ(ReadFile(path), std::string("\xFE,\xFE\xFF\xFE\xFF\x78\x56\x34\x12\x80\xFF\xFF\xFF\0\0\0\0\0\0\x1E\xC0"
                                          "\0\0\x80\x7F\xFF\xFF\x7F\x7F"
                                          "350\r\n-17abc\r\n",
                                          43));
    std::string locked = FileWith("keep", "locked.bin");
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);
    EXPECT_FALSE(FileOpen(4, RtString(locked.c_str()), false) || ReadFile(locked) != "keep") << "read-only: kept";
    ASSERT_TRUE(FileOpen(0, RtString(path.c_str()), true));
    // Seeks count from here, from the end and from the start; a byte string stops at a zero.
    // The last read takes the file up to the end exactly.
    RtString bytes;
    for (auto [offset, from, at, count, expected] :
         {std::tuple(0, 1, 0.0, 2, "\xFE,"), {18, 1, 20.0, 5, "\x1E\xC0"}, {-3, -1, 40.0, 3, "c\r\n"}}) {
        FileSeek(0, offset, from);
        EXPECT_EQ(std::pair(FilePosition(0), FileEnd(0)), std::pair(at, false)) << offset;
        FileReadBytes(0, bytes, count);
        EXPECT_EQ(bytes, expected) << offset;
    }
    FileSeek(0, 0, 0);
    std::vector<int32_t> ints;
    for (void (*read)(int32_t, int32_t&) : {FileReadInt8, FileReadUInt8, FileReadInt16, FileReadUInt16, FileReadInt32,
                                            FileReadUInt32, FileReadDouble, FileReadInt32, FileReadInt32})
        read(0, ints.emplace_back());
    EXPECT_EQ(ints, (std::vector<int32_t>{-2, 44, -2, 65534, 0x12345678, -128, -7, 0x7F800000, 0x7F7FFFFF}));
    double number = 0;
    FileReadLineNumber(0, number);
    FileReadLineInteger(0, ints[0]);
    EXPECT_EQ(std::vector<double>({number * 100 + ints[0], FilePosition(0), double(FileEnd(0))}),
              std::vector<double>({34983, 43, 1}));
    FileClose(0);
    EXPECT_FALSE(FileOpen(0, "no such file.bin", true));
}

TEST(FileChannels, LineReaderSplitsLongLinesDropsCrAndCountsPositions) {
    std::string longLine(1500, 'x');
    std::string path = FileWith(longLine + "\nab\r\nc\rd\r\n\nlast");
    ASSERT_TRUE(FileOpen(7, RtString(path.c_str()), true));
    RtString line;
    FileReadLine(7, line);
    EXPECT_EQ(std::pair(line.Length(), FilePosition(7)), std::pair(1024u, 1024.0));
    FileReadLine(7, line);
    EXPECT_EQ(line.Length(), 476u);
    for (const char* expected : {"ab", "c\rd", "", "last"}) {
        EXPECT_FALSE(FileEnd(7));
        FileReadLine(7, line);
        EXPECT_EQ(line, expected);
    }
    // After a last line without a line end the count stands one past the size.
    EXPECT_EQ(std::pair(FilePosition(7), FileEnd(7)), std::pair(1515.0 + 1, true));
    FileClose(7);
    EXPECT_TRUE(FileEnd(-1) && FileEnd(8)) << "a loop until the end stops on a channel outside 0 to 7";
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
    EXPECT_EXIT(FileWriteLine(5, "x"), testing::ExitedWithCode(3),
                "^Runtime error 3: could not write to the file: channel 5\n");
    EXPECT_EXIT(FileOpen(8, "x", true), testing::ExitedWithCode(7), "^Runtime error 7: file channel outside 0 to 7\n");
    EXPECT_EXIT(FileClose(-1), testing::ExitedWithCode(7), "file channel outside 0 to 7");
}

TEST(LineFiles, ReadsTrimIndexesOutsideTheFileAreRefusedAndNewFilesAreMadeUpToTheIndex) {
    std::string bytes = "zero\r\none\t\n\ntre\xE9\n" + std::string(1500, 'x') + "\n";
    for (int i = 0; i < 80; ++i) bytes += std::string(999, char('a' + i % 26)) + "\n"; // past the first 64 KiB
    std::string path = FileWith(bytes + "after");
    RtString name(path.c_str());
    const std::pair<int32_t, const char*> reads[] = {{0, "zero"},   {1, "one"},       {2, "NO_DATA"}, {3, "tre\xE9"},
                                                     {85, "after"}, {256, "NO_DATA"}, {-1, "NO_DATA"}};
    for (const auto& [index, line] : reads) EXPECT_EQ(LineFileRead(name, index), line) << index;
    EXPECT_EQ(std::pair(LineFileRead(name, 4).Length(), LineFileRead(name, 84).str()),
              std::pair(1023u, std::string(999, 'b')));

    for (int32_t index : {256, -1}) {
        Runtime().errorCode = 0;
        LineFileWrite(name, index, "x");
        EXPECT_EQ(Runtime().errorCode, 7) << index;
    }

    LineFileWrite(name, 1, RtString(std::string(2000, 'y')));
    LineFileFlush();
    EXPECT_EQ(ReadFile(path).substr(0, 1031), "zero\r\n" + std::string(1023, 'y') + "\r\n");

    // Writing index five of a new file writes six lines on the next selection; a missing name is held.
    // The new file's name is as long as any command takes, 1023 bytes, padded with slashes.
    std::string dir = FreshDir(), made = dir + std::string(1016 - dir.size(), '/') + "new.txt";
    LineFileWrite(RtString(made.c_str()), 5, "five");
    EXPECT_EQ(LineFileRead(RtString((dir + "missing.txt").c_str()), 0), "NO_FILE");
    EXPECT_EQ(ReadFile(made), "\r\n\r\n\r\n\r\n\r\nfive\r\n");
    EXPECT_EQ(LineFileRead(RtString((dir + "missing.txt").c_str()), 0), "NO_DATA");
}
