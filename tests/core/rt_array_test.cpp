// RtArray: the index rule and its fatal errors, the capacity steps, Redim, DimPush, DimDel, SortArray.
#include "runtime/core/rt_array.h"
#include "tests/support/fatal_error.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <map>
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

RtArray<double> Numbers(std::initializer_list<double> values) {
    RtArray<double> a;
    for (double v : values) DimPush(a, v);
    return a;
}

// A display mode as the launcher lists them: small, so it grows in steps of 64.
struct Mode {
    static constexpr int32_t kArrayStep = 64;
    int32_t width;
    RtString name;
    bool operator<(const Mode& other) const { return width < other.width; }
};

} // namespace

TEST(RtArray, FatalErrorsRecordTheirCode) {
    const std::pair<int, std::function<void()>> cases[] = {
        {9, [] { Dimmed(5)(-6) = 1; }},
        {9, [] { Dimmed(5)(5) = 1; }},
        {9, [] { Dimmed(0)(0) = 1; }},
        {9, [] { RtArray<RtString>()(0) = "never dimmed"; }},
        // Each index is tested against its own dimension, not against the whole block.
        {9, [] { Dimmed(2, 3)(2, 0) = 1; }},
        {9, [] { Dimmed(2, 3)(0, 0, 1) = 1; }},
        {8, [a = Numbers({1, 2, 3, 4, 5})]() mutable { DimDel(a, 7); }},
        {8, [a = RtArray<double>()]() mutable { DimDel(a, 0); }},
        {8, [a = Dimmed(2, 2)]() mutable { DimPush(a, 1); }},
        // Three dimensions with an unused second one are still not a list.
        {8, [a = Dimmed(5, 0, 3)]() mutable { DimPush(a, 1); }},
        {8, [a = Dimmed(3, 2)]() mutable { DimDel(a, 0); }},
        {8, [a = Dimmed(3, 2)]() mutable { SortArray(a); }},
        {7, [] { Dimmed(65536, 65536); }},
        {7, [] { Dimmed(2147483647, 1, 1, 2); }},
        // The largest total still needs one step more than fits.
        {7, [] { Dimmed<RtString>(2147483647); }},
    };
    const std::map<int, const char*> meanings = {
        {7, "out of memory"}, {8, "push or delete on an unsuitable array"}, {9, "array index outside the array"}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_RUNTIME_ERROR(cases[i].second(), cases[i].first, meanings.at(cases[i].first));
    }
}

TEST(RtArray, IndexesWrapOnceAndTheFirstVariesFastest) {
    RtArray<double> a = Numbers({0, 10, 20, 30, 40});
    EXPECT_EQ(a(-1), 40);
    EXPECT_EQ(a(-5), 0);
    EXPECT_EQ(Bounds(a, 0), 5);
    EXPECT_EQ(Bounds(a, 1), 0);
    EXPECT_EQ(Bounds(Dimmed(0), 0), 0);

    RtArray<int32_t> block = Dimmed<int32_t>(2, 3, 2);
    int32_t n = 0;
    for (int32_t& e : block) e = n++;
    EXPECT_EQ(n, 12);
    EXPECT_EQ(block(1, 0, 0), 1);
    EXPECT_EQ(block(0, 1, 0), 2);
    EXPECT_EQ(block(0, 0, 1), 6);
    EXPECT_EQ(block(-1, -1, -1), 11);
    RtArray<int32_t> four = Dimmed<int32_t>(2, 2, 2, 2);
    four(1, 1, 1, 1) = 7;
    EXPECT_EQ(Elements(four).back(), 7);
}

TEST(RtArray, CapacityStepsByElementTypeAndDimResetsInPlace) {
    auto capacity = [](auto array, int32_t total) {
        Dim(array, total);
        return array.Capacity();
    };
    EXPECT_EQ(capacity(RtArray<RtString>(), 0), 64);
    EXPECT_EQ(capacity(RtArray<RtString>(), 63), 64);
    EXPECT_EQ(capacity(RtArray<RtString>(), 64), 128);
    EXPECT_EQ(capacity(RtArray<Mode>(), 64), 128);
    EXPECT_EQ(capacity(RtArray<double>(), 0), 8);
    EXPECT_EQ(capacity(RtArray<double>(), 8), 16);
    EXPECT_EQ(capacity(RtArray<double>(), -3), 8);

    RtArray<double> a = Dimmed(100);
    a(99) = 5;
    Dim(a, 10, 2);
    EXPECT_EQ(a.Capacity(), 104);
    for (double e : a) EXPECT_EQ(e, 0);
    RtArray<RtString> s = Dimmed<RtString>(3);
    s(0) = "one";
    s(2) = "three";
    Dim(s, 3);
    for (const RtString& e : s) EXPECT_EQ(e, "");
}

TEST(RtArray, RedimKeepsEveryElementThatStillFits) {
    RtArray<double> a = Numbers({1, 2, 3, 4, 5});
    Redim(a, 3);
    Redim(a, 6);
    EXPECT_EQ(Elements(a), (std::vector<double>{1, 2, 3, 0, 0, 0}));

    RtArray<RtString> grid = Dimmed<RtString>(3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) grid(x, y) = RtString(x * 10 + y);
    Redim(grid, 2, 3);
    EXPECT_EQ(grid(1, 0), "10");
    EXPECT_EQ(grid(1, 1), "11");
    EXPECT_EQ(grid(1, 2), "");
    // A one-dimensional array gains a dimension: its elements become the first column.
    RtArray<double> line = Numbers({7, 8});
    Redim(line, 2, 2);
    EXPECT_EQ(Elements(line), (std::vector<double>{7, 8, 0, 0}));
}

TEST(RtArray, PushAppendsDeleteClosesTheGapAndCopiesAreIndependent) {
    RtArray<RtString> a;
    for (int i = 0; i < 70; ++i) DimPush(a, RtString(i));
    EXPECT_EQ(a.Capacity(), 128);
    for (int32_t i = 0; i < 70; ++i) ASSERT_EQ(a(i), RtString(i));
    // Pushing an element of the array itself, across a block change.
    RtArray<RtString> b = Dimmed<RtString>(64);
    b(3) = "self";
    DimPush(b, b(3));
    EXPECT_EQ(b(64), "self");

    DimDel(a, -1);
    for (int i = 0; i < 6; ++i) DimDel(a, 0);
    EXPECT_EQ(Bounds(a, 0), 63);
    EXPECT_EQ(a.Capacity(), 128);
    EXPECT_EQ(a(0), "6");
    EXPECT_EQ(a(-1), "68");
    // The slot a delete freed comes back empty.
    Redim(a, 64);
    EXPECT_EQ(a(63), "");

    RtArray<RtString> copy = a;
    copy(0) = "changed";
    EXPECT_EQ(a(0), "6");
    RtArray<RtString> moved = std::move(copy);
    EXPECT_EQ(moved(0), "changed");
    EXPECT_EQ(Bounds(copy, 0), 0);
}

TEST(SortArray, NumbersAscendRecordsFollowTheComparisonShortArraysStay) {
    RtArray<double> a = Numbers({5, -1, 3, 3, 0.5, 100, -7});
    SortArray(a);
    EXPECT_EQ(Elements(a), (std::vector<double>{-7, -1, 0.5, 3, 3, 5, 100}));
    RtArray<double> empty, one = Numbers({2});
    SortArray(empty);
    SortArray(one, [](double, double) { return -1; });
    EXPECT_EQ(Bounds(empty, 0), 0);
    EXPECT_EQ(Elements(one), (std::vector<double>{2}));

    RtArray<Mode> modes;
    for (int32_t w : {800, 1920, 640, 1024, 1280, 640}) DimPush(modes, Mode{w, RtString(w)});
    SortArray(modes, [](const Mode& x, const Mode& y) { return x.width > y.width ? -1 : 1; });
    std::vector<int32_t> widths;
    for (const Mode& m : modes) {
        widths.push_back(m.width);
        EXPECT_EQ(m.name, RtString(m.width));
    }
    EXPECT_EQ(widths, (std::vector<int32_t>{1920, 1280, 1024, 800, 640, 640}));
}

// Under the sanitizers these would show any read outside the block or a deep recursion.
TEST(SortArray, SurvivesLyingComparisonsNaNAndDegenerateInput) {
    RtArray<double> a;
    for (int i = 0; i < 5000; ++i) DimPush(a, double(i % 13));
    std::vector<double> before = Elements(a);
    int calls = 0;
    SortArray(a, [&calls](double, double) { return ++calls % 3 == 0 ? -1.0 : 1.0; });
    // Some order, but every element still there exactly once.
    std::vector<double> after = Elements(a);
    EXPECT_TRUE(std::is_permutation(after.begin(), after.end(), before.begin()));

    RtArray<double> nan = Numbers({3, std::nan(""), 1, std::nan(""), 2});
    SortArray(nan);
    SortArray(nan, [](double, double) { return std::nan(""); });
    EXPECT_EQ(Bounds(nan, 0), 5);

    RtArray<double> big = Dimmed(200000);
    SortArray(big); // all equal
    for (int32_t i = 0; i < 200000; ++i) big(i) = (i * 7919) % 200000;
    SortArray(big);
    SortArray(big); // already sorted
    for (int32_t i = 0; i < 200000; ++i) ASSERT_EQ(big(i), i);
    SortArray(big, [](double x, double y) { return y - x; });
    EXPECT_EQ(big(0), 199999);
    EXPECT_EQ(big(-1), 0);
}
