// RtString: capacity policy, formatting, conversions, comparisons and the cases that corrupt memory
// in a careless string type.
#include "runtime/core/rt_string.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <utility>

TEST(RtString, CapacityGrowsInSixteenByteSteps) {
    EXPECT_EQ(RtString().Capacity(), 0u) << "empty strings share one buffer";
    EXPECT_EQ(RtString(std::string(100, 'x')).Capacity(), 112u);
    EXPECT_EQ(RtString(7).Capacity(), 80u) << "formatting reserves 64 bytes";
    RtString s("abc");
    EXPECT_EQ(s.Capacity(), 16u);
    s += "defghijklmno";
    EXPECT_EQ(s.Capacity(), 16u);
    s += "p";
    EXPECT_EQ(s.Capacity(), 32u);
    EXPECT_STREQ(s.c_str(), "abcdefghijklmnop");
}

TEST(RtString, FormatsNumbersWithTenSignificantDigits) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{0.0, "0"},
                          {0.5, "0.5"},
                          {0.25, "0.25"},
                          {1024, "1024"},
                          {-3, "-3"},
                          {100000, "100000"},
                          {50.0 / 99, "0.5050505051"},
                          {1e20, "1e+20"},
                          {1e-5, "1e-05"}};
    for (const Case& c : cases) EXPECT_STREQ(RtString(c.value).c_str(), c.text) << c.value;
    EXPECT_STREQ(RtString(0.1f).c_str(), "0.1000000015");
    EXPECT_STREQ(RtString(-2147483647 - 1).c_str(), "-2147483648");
}

TEST(RtString, ConcatenatesNumbersAndConvertsLeadingNumbersSaturating) {
    EXPECT_STREQ((2.0 + RtString("x") + 1.5).c_str(), "2x1.5");
    EXPECT_STREQ(("<" + RtString("n") + 42 + ">").c_str(), "<n42>");
    // A char is a character; integers of every width are numbers.
    EXPECT_STREQ(('[' + RtString("s") + 'x').c_str(), "[sx");
    EXPECT_STREQ((RtString() + size_t{4000000000} + int64_t{-9000000000} + uint64_t{18446744073709551615u}).c_str(),
                 "4000000000-900000000018446744073709551615");
    EXPECT_STREQ((RtString() + int8_t{-5} + uint8_t{200} + short{7}).c_str(), "-52007");
    RtString assigned = 800;
    assigned += '!';
    EXPECT_STREQ(assigned.c_str(), "800!");
    EXPECT_EQ((RtString(std::string("std ")) + assigned).str(), "std 800!");
    EXPECT_TRUE(RtString("12") == size_t{12});
    EXPECT_TRUE(RtString("-1") < size_t{0});
    const std::pair<const char*, int> ints[] = {
        {"12abc", 12}, {"", 0}, {"  -7", -7}, {"99999999999999", 2147483647}, {"-99999999999999", -2147483647 - 1}};
    for (auto [text, value] : ints) EXPECT_EQ(RtString(text).ToInt(), value) << text;
    const std::pair<const char*, double> numbers[] = {{" -.5", -0.5}, {"1e3", 1000}, {"1e", 1},
                                                      {".", 0},       {"nan", 0},    {"0x10", 0}};
    for (auto [text, value] : numbers) EXPECT_EQ(RtString(text).ToNumber(), value) << text;
}

// Other character types have no ANSI byte: they are refused rather than read as numbers.
template <typename C>
concept Appends = requires(RtString s, C c) {
    s + c;
};
template <typename C>
concept Compares = requires(RtString s, C c) {
    s == c;
};
static_assert(Appends<char> && Compares<char>);
static_assert(!Appends<char8_t> && !Appends<wchar_t> && !Appends<char16_t> && !Appends<char32_t>);
static_assert(!Compares<char8_t> && !Compares<wchar_t>);

TEST(RtString, ComparesTextByBytesAndNumbersByValue) {
    RtString ten("10");
    EXPECT_TRUE(ten > 9.5);
    EXPECT_TRUE("9" > ten);
    EXPECT_TRUE(ten == 10);
    // A char is a one-character text, never the number of its code.
    EXPECT_FALSE(RtString("120") == 'x');
    EXPECT_TRUE(RtString("x") == 'x');
    EXPECT_TRUE('y' > RtString("xa"));
    EXPECT_TRUE(RtString("") < 'a');
    EXPECT_TRUE(RtString("\xE4") > RtString("a")); // bytes compare unsigned
    EXPECT_EQ(Compare(ten, 9.5), 1);
    EXPECT_EQ(Compare(RtString("abc"), 1), -1);

    // Same text up to a zero byte, different lengths: not equal.
    RtString shortText("ab");
    RtString longer(std::string_view("ab\0x", 4));
    EXPECT_FALSE(shortText == longer);
    EXPECT_TRUE(shortText <= longer);
}

TEST(RtString, MidFindAndLower) {
    EXPECT_STREQ(StringMid(RtString("|a|b"), 1, -1).c_str(), "a|b");
    EXPECT_STREQ(StringMid(RtString("abc"), -1, 2).c_str(), "");
    EXPECT_STREQ(StringMid(RtString("abc"), 2147483647, 2147483647).c_str(), "");
    EXPECT_STREQ(StringMid(RtString("abc"), 1, 2147483647).c_str(), "bc");
    EXPECT_EQ(StringFind(RtString("hello"), RtString("")), 0);
    EXPECT_EQ(StringFind(RtString("hello"), RtString("z")), -1);
    EXPECT_STREQ(StringLower(RtString("A\xC4Zz")).c_str(), "a\xC4zz");
}

TEST(RtString, SelfAssignmentAndSelfAppendAreSafe) {
    RtString s("abcdefghijklmno"); // 15 bytes in 16: appending itself must grow first
    s += s;
    EXPECT_STREQ(s.c_str(), "abcdefghijklmnoabcdefghijklmno");
    RtString& alias = s;
    s = alias;
    s = s.c_str() + 28;
    EXPECT_STREQ(s.c_str(), "no");
    s += s.c_str();
    EXPECT_STREQ(s.c_str(), "nono");
}

TEST(RtString, WritableBufferStaysTerminatedWhenFilled) {
    RtString s;
    char* p = s.WritableBuffer(4);
    ASSERT_GE(s.Capacity(), 5u);
    std::memset(p, 'x', s.Capacity());
    s.RecomputeLength();
    EXPECT_EQ(s.Length(), s.Capacity() - 1);
    EXPECT_EQ(std::strlen(s.c_str()), s.Length());
    s.CutAt(2);
    EXPECT_STREQ(s.c_str(), "xx");
    EXPECT_EQ(s.CharAt(0), 'x');
    EXPECT_EQ(RtString().CharAt(0), 0);
    EXPECT_EQ(RtString("\xE4").CharAt(0), -28);
}
