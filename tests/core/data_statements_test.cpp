// Data statements: reading texts and numbers across types, restoring, and error 20.
#include "runtime/core/core.h"
#include "tests/support/fatal_error.h"

#include <gtest/gtest.h>

namespace {

const DataItem kItems[] = {{0, "12abc"}, {2.5, nullptr}, {0, "words"}, {-3.9, nullptr}, {1e21, nullptr}};
DataBlock gBlock{kItems, 5, 0};
DataBlock gEmpty{nullptr, 0, 0};

// Restores the block unless it is null, then reads count items as texts.
void ReadTexts(DataBlock* block, int count) {
    if (block) DataRestore(*block);
    RtString text;
    for (int i = 0; i < count; ++i) DataRead(text);
}

} // namespace

TEST(DataRead, ConvertsBetweenTextsAndNumbers) {
    DataRestore(gBlock);
    int32_t integer = -1;
    RtString text;
    double number = -1;
    DataRead(integer);
    EXPECT_EQ(integer, 12);
    DataRead(text);
    EXPECT_EQ(text, "2.5");
    DataRead(number);
    EXPECT_EQ(number, 0);
    DataRead(integer);
    EXPECT_EQ(integer, -3);
    DataRead(integer);
    EXPECT_EQ(integer, 2147483647);
    DataRestore(gBlock);
    DataRead(text);
    EXPECT_EQ(text, "12abc");
}

TEST(DataRead, PastTheEndOrBeforeAnyRestoreEndsWithError20) {
    EXPECT_RUNTIME_ERROR(ReadTexts(nullptr, 1), 20, "data read past the end of its block");
    EXPECT_RUNTIME_ERROR(ReadTexts(&gBlock, 6), 20, "data read past the end of its block");
    EXPECT_RUNTIME_ERROR(ReadTexts(&gEmpty, 1), 20, "data read past the end of its block");
}
