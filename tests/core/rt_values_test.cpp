// RtString and RtArray: number texts both ways, and the commands of both against std::string and
// std::vector on random sequences, aliasing ones included; the array index rule and its fatal errors.
#include "runtime/core/rt_array.h"
#include "runtime/core/rt_string.h"
#include "tests/support/fatal_error.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::string RandomText(std::mt19937& random, std::string_view bytes = "aAzZ09 |.-\xE4\xC4", size_t longest = 40) {
    std::string text(random() % longest, ' ');
    for (char& c : text) c = bytes[random() % bytes.size()];
    return text;
}

} // namespace

TEST(RtString, NumbersBecomeTextsWithTenSignificantDigitsAndTextsNumbersAsTheCLibraryReadsThem) {
    const double numbers[] = {0, 0.25, -3, 1e5, 1e20, 1e-5, 50.0 / 99};
    const char* texts[] = {"0", "0.25", "-3", "100000", "1e+20", "1e-05", "0.5050505051"};
    for (size_t i = 0; i < std::size(numbers); ++i) EXPECT_STREQ(RtString(numbers[i]).c_str(), texts[i]);
    EXPECT_STREQ((RtString(0.1f) + (-2147483647 - 1)).c_str(), "0.1000000015-2147483648");
    EXPECT_EQ(RtString() + int8_t{-5} + uint8_t{200} + int64_t{-9000000000} + uint64_t{18446744073709551615u},
              "-5200-900000000018446744073709551615");
    EXPECT_TRUE(RtString("x") == 'x' && !(RtString("120") == 'x')) << "a char is a one-character text, not a number";
    EXPECT_EQ(RtString(7).Capacity() + RtString().Capacity(), 80u) << "numbers reserve 64 bytes; empty texts none";
    EXPECT_EQ(std::vector<int>({Compare(RtString("10"), 9.5), Compare(RtString("2.5"), 2.5), RtString("2.5") == 2.5,
                                Compare(RtString("2"), 2.5), Compare(RtString("abc"), 1), Compare(RtString("7"), 7),
                                Compare(RtString("8"), 9)}),
              std::vector<int>({1, 0, 1, -1, -1, 0, -1}));
    // Only decimal texts count (no hexadecimal, "inf" or "nan"), so the C library is the reference there;
    // integers saturate at the 32-bit limits.
    std::mt19937 random(5);
    for (int round = 0; round < 20000; ++round) {
        std::string text = RandomText(random, " \t\r\v+-.eE0123456789", 14);
        long long integer = std::strtoll(text.c_str(), nullptr, 10);
        integer = std::clamp<long long>(integer, -2147483647 - 1, 2147483647);
        ASSERT_EQ(RtString(text).ToInt(), integer) << text;
        ASSERT_EQ(RtString(text).ToNumber(), std::strtod(text.c_str(), nullptr)) << text;
    }
    for (const char* zero : {"nan", "inf", "0x10"}) EXPECT_EQ(RtString(zero).ToNumber(), 0) << zero;
}

TEST(RtString, CommandsAgreeWithStdStringOnRandomTexts) {
    std::mt19937 random(24);
    for (int round = 0; round < 3000; ++round) {
        std::string a = RandomText(random), b = RandomText(random);
        RtString s(a), t(b);
        // Bytes compare unsigned; a zero byte inside does not end the text for equality.
        auto order = s <=> t;
        ASSERT_EQ(std::pair(order<0, order> 0), std::pair(a.compare(b) < 0, a.compare(b) > 0)) << a << "|" << b;
        ASSERT_EQ(s == t, a == b);
        ASSERT_EQ(s < 'a', a < "a");
        int32_t start = int32_t(random() % 50) - 5, count = int32_t(random() % 50) - 5;
        std::string mid = start < 0 || size_t(start) > a.size()
                              ? ""
                              : a.substr(size_t(start), count < 0 ? std::string::npos : size_t(count));
        ASSERT_EQ(StringMid(s, start, count).str(), mid) << a << " " << start << " " << count;
        ASSERT_EQ(StringFind(s, t), b.empty() ? 0 : int32_t(a.find(b))) << a << "|" << b;
        std::string lower = a;
        for (char& c : lower) c = c >= 'A' && c <= 'Z' ? char(c + 32) : c;
        ASSERT_EQ(StringLower(s).str(), lower);
        ASSERT_EQ(s.CharAt(0), a.empty() ? 0 : int(static_cast<signed char>(a[0])));
        // Appends, also of the string itself or of its tail, across a growth of its buffer.
        const int op = int(random() % 4);
        if (op == 0) s += s, a += a;
        if (op == 1) s += s.c_str() + a.size() / 2, a += a.substr(a.size() / 2);
        if (op == 2) s = s.c_str() + a.size() / 2, a = a.substr(a.size() / 2);
        if (op == 3) s += t + 'c', a += b + 'c';
        ASSERT_EQ(s.str(), a);
        ASSERT_TRUE(s.Capacity() % 16 == 0 && s.Capacity() > s.Length()) << s.Capacity();
    }
    EXPECT_FALSE(RtString("ab") == RtString(std::string_view("ab\0x", 4)));
    EXPECT_EQ(StringMid(RtString("abc"), 2147483647, 2147483647), "");
    EXPECT_EQ(StringMid(RtString("abc"), 1, 2147483647), "bc");
    // A buffer written to its last byte still ends in a zero.
    RtString s;
    char* buffer = s.WritableBuffer(4);
    std::memset(buffer, 'x', s.Capacity());
    s.RecomputeLength();
    EXPECT_EQ(std::strlen(s.c_str()) + 1, s.Capacity());
    s.CutAt(2);
    EXPECT_EQ(s.str(), "xx");
    s.AssignExact("abc");
    EXPECT_EQ(std::pair(s.str(), s.Capacity()), std::pair(std::string("abc"), 4u)) << "sized exactly";
}

// Each index is tested against its own dimension, not against the whole block; the largest total still
// needs one step more than fits.
TEST(RtArray, FatalErrorsRecordTheirCode) {
    RtArray<double> list, grid;
    RtArray<RtString> texts;
    EXPECT_RUNTIME_ERROR((Dim(grid, 2, 3), grid(2, 0) = 1), 9, "array index outside the array");
    EXPECT_RUNTIME_ERROR((Dim(list, 5), DimDel(list, 5)), 8, "push or delete on an unsuitable array");
    EXPECT_RUNTIME_ERROR(Dim(texts, 2147483647), 7, "out of memory");
}

// Dim clears, Redim keeps what fits, DimPush appends, DimDel closes the gap (negative from the end),
// SortArray orders, copies are independent: checked against std::vector.
TEST(RtArray, ListCommandsAgreeWithAVectorOnRandomSequences) {
    std::mt19937 random(24);
    for (int round = 0; round < 40; ++round) {
        RtArray<RtString> a;
        std::vector<RtString> model;
        for (int step = 0; step < 200; ++step) {
            const int size = int(model.size()), op = int(random() % 9), index = int(random() % 280) - 140;
            if (op < 4 || size == 0) {
                RtString value(int32_t(random() % 1000));
                DimPush(a, op == 0 && size ? a(size - 1) : value); // an element of the array itself too
                model.push_back(op == 0 && size ? RtString(model.back()) : value);
            } else if (op < 6) {
                DimDel(a, index % size);
                model.erase(model.begin() + (index % size + size) % size);
            } else if (op == 6) {
                Redim(a, index + 140);
                model.resize(size_t(index + 140));
            } else if (op == 7) {
                SortArray(a, [](const RtString& x, const RtString& y) { return x < y ? 1 : x > y ? -1 : 0; });
                std::sort(model.begin(), model.end(), std::greater<>());
            } else {
                RtArray<RtString> copy = a;
                copy(0) = "changed";
                a = std::move(copy);
                model[0] = "changed";
            }
            ASSERT_EQ(std::vector<RtString>(a.begin(), a.end()), model)
                << "round " << round << " step " << step << " op " << op;
        }
    }
}
