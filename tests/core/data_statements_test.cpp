// Data statements: reading texts and numbers across types, restoring, and error 20.
#include "runtime/core/core.h"
#include "tests/support/fatal_error.h"

#include <gtest/gtest.h>

namespace {

const DataItem kItems[] = {{0, "12abc"}, {2.5, nullptr}, {0, "words"}, {-3.9, nullptr}, {1e21, nullptr}};
DataBlock gBlock{kItems, 5, 0};

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
    DataRead(number);
    EXPECT_EQ(number, 2.5);
}

TEST(DataRead, PastTheEndOrBeforeAnyRestoreEndsWithError20) {
    EXPECT_RUNTIME_ERROR(
        {
            double number;
            DataRead(number);
        },
        20);
    EXPECT_RUNTIME_ERROR(
        {
            DataRestore(gBlock);
            RtString text;
            for (int i = 0; i < 6; ++i) DataRead(text);
        },
        20);
    static DataBlock empty{nullptr, 0, 0};
    EXPECT_RUNTIME_ERROR(
        {
            DataRestore(empty);
            int32_t integer;
            DataRead(integer);
        },
        20);
}
