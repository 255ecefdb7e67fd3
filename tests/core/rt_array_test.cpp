// RtArray: the index rule and its fatal errors, the capacity steps, and Redim, DimPush, DimDel and
// SortArray against std::vector on random sequences.
#include "runtime/core/rt_array.h"
#include "tests/support/fatal_error.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

template <typename T>
std::vector<T> Elements(const RtArray<T>& a) {
    return std::vector<T>(a.begin(), a.end());
}

template <typename T = double>
RtArray<T> Dimmed(int32_t s0, int32_t s1 = 0, int32_t s2 = 0, int32_t s3 = 0) {
    RtArray<T> a;
    Dim(a, s0, s1, s2, s3);
    return a;
}

// A display mode as the launcher lists them: small, so it grows in steps of 64.
struct Mode {
    static constexpr int32_t kArrayStep = 64;
    int32_t width;
};

} // namespace

TEST(RtArray, FatalErrorsRecordTheirCode) {
    const std::pair<int, std::function<void()>> cases[] = {
        {9, [] { Dimmed(5)(-6) = 1; }},
        {9, [] { RtArray<RtString>()(0) = "never dimmed"; }},
        // Each index is tested against its own dimension, not against the whole block.
        {9, [] { Dimmed(2, 3)(2, 0) = 1; }},
        {9, [] { Dimmed(2, 3)(0, 0, 1) = 1; }},
        {8, [a = Dimmed(5)]() mutable { DimDel(a, 5); }},
        // Three dimensions with an unused second one are still not a list.
        {8, [a = Dimmed(5, 0, 3)]() mutable { DimPush(a, 1); }},
        {8, [a = Dimmed(3, 2)]() mutable { DimDel(a, 0); }},
        {8, [a = Dimmed(3, 2)]() mutable { SortArray(a); }},
        {7, [] { Dimmed(65536, 65536); }},
        // The largest total still needs one step more than fits.
        {7, [] { Dimmed<RtString>(2147483647); }},
    };
    const char* meanings[] = {"out of memory", "push or delete on an unsuitable array",
                              "array index outside the array"};
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_RUNTIME_ERROR(cases[i].second(), cases[i].first, meanings[cases[i].first - 7]);
    }
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
            ASSERT_EQ(Elements(a), model) << "round " << round << " step " << step << " op " << op;
        }
        Dim(a, 3);
        EXPECT_EQ(Elements(a), std::vector<RtString>(3));
    }
    // A list gains a dimension: its elements become the first column; the first index varies fastest
    // and each wraps once from the end.
    RtArray<double> grid;
    for (double v : {7, 8, 9}) DimPush(grid, v);
    Redim(grid, 2, 3, 2);
    grid(-1, -1, -1) = 5;
    EXPECT_EQ(Elements(grid), (std::vector<double>{7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}));
    EXPECT_EQ(grid(1, 0, 0) + grid(-2, -3, -2) * 10 + Bounds(grid, 1) * 100 + Bounds(grid, 3) * 1000, 378);
    // Capacity steps by element type: 64 for records and texts, 8 for numbers.
    auto capacity = [](auto array, int32_t total) { return Dim(array, total), array.Capacity(); };
    EXPECT_EQ(std::vector<int32_t>({capacity(RtArray<RtString>(), 63), capacity(RtArray<RtString>(), 64),
                                    capacity(RtArray<Mode>(), 64), capacity(RtArray<double>(), -3),
                                    capacity(RtArray<double>(), 8)}),
              (std::vector<int32_t>{64, 128, 128, 8, 16}));
}

// Under the sanitizers these would also show any read outside the block or a deep recursion.
TEST(SortArray, SortsLongAndDegenerateInputsAndSurvivesLyingComparisons) {
    for (int32_t stride : {0, 7919, -1}) {
        RtArray<double> a = Dimmed(200000);
        for (int32_t i = 0; i < 200000; ++i) a(i) = double((int64_t{i} * stride + 200000) % 200000);
        std::vector<double> expected = Elements(a);
        std::sort(expected.begin(), expected.end());
        SortArray(a);
        ASSERT_EQ(Elements(a), expected) << stride;
        Redim(a, 5000);
        expected = Elements(a);
        int calls = 0;
        SortArray(a, [&calls](double, double) { return ++calls % 3 == 0 ? -1.0 : std::nan(""); });
        std::vector<double> after = Elements(a);
        EXPECT_TRUE(std::is_permutation(after.begin(), after.end(), expected.begin()));
    }
}
