// RtArray: the index rule and its fatal errors, and Redim, DimPush, DimDel and SortArray against
// std::vector on random sequences.
#include "runtime/core/rt_array.h"
#include "tests/support/fatal_error.h"

#include <algorithm>
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
RtArray<T> Dimmed(int32_t s0, int32_t s1 = 0, int32_t s2 = 0) {
    RtArray<T> a;
    Dim(a, s0, s1, s2);
    return a;
}

} // namespace

// Each index is tested against its own dimension, not against the whole block; three dimensions with
// an unused second one are still not a list; the largest total still needs one step more than fits.
TEST(RtArray, FatalErrorsRecordTheirCode) {
    const std::pair<int, std::function<void()>> cases[] = {
        {9, [] { Dimmed(5)(-6) = 1; }},
        {9, [] { Dimmed(2, 3)(2, 0) = 1; }},
        {9, [] { Dimmed(2, 3)(0, 0, 1) = 1; }},
        {8, [a = Dimmed(5)]() mutable { DimDel(a, 5); }},
        {8, [a = Dimmed(5, 0, 3)]() mutable { DimPush(a, 1); }},
        {8, [a = Dimmed(3, 2)]() mutable { SortArray(a); }},
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
// SortArray orders, copies are independent: checked against std::vector. A list that gains dimensions
// becomes their first column; the first index varies fastest and each wraps once from the end.
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
    }
    RtArray<double> grid;
    for (double v : {7, 8, 9}) DimPush(grid, v);
    Redim(grid, 2, 3, 2);
    grid(-1, -1, -1) = 5;
    EXPECT_EQ(Elements(grid), (std::vector<double>{7, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5}));
    EXPECT_EQ(grid(1, 0, 0) + grid(-2, -3, -2) * 10 + Bounds(grid, 1) * 100 + Bounds(grid, 3) * 1000, 378);
}
