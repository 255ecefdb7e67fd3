// RtArray: the index rule and its fatal errors, the capacity steps, Redim, DimPush, DimDel, SortArray.
#include "runtime/core/rt_array.h"
#include "tests/support/fatal_error.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

template <typename T>
std::vector<T> Elements(const RtArray<T>& a) {
    return std::vector<T>(a.begin(), a.end());
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
    int32_t height;
    RtString name;
    bool operator<(const Mode& other) const { return width < other.width; }
};

} // namespace

TEST(RtArray, IndexRuleWrapsOnceFromTheEnd) {
    RtArray<double> a;
    Dim(a, 5);
    for (int32_t i = 0; i < 5; ++i) a(i) = i * 10;
    EXPECT_EQ(a(-1), 40);
    EXPECT_EQ(a(-5), 0);
    EXPECT_EQ(Bounds(a, 0), 5);
    EXPECT_EQ(Bounds(a, 1), 0);
    EXPECT_EQ(Bounds(a, 4), 0);
    EXPECT_EQ(Bounds(a, -1), 0);
}

TEST(RtArray, OutsideIndexesEndWithError9) {
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 5);
            a(-6) = 1;
        },
        9);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 5);
            a(5) = 1;
        },
        9);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 0);
            EXPECT_EQ(Bounds(a, 0), 0);
            a(0) = 1;
        },
        9);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<RtString> never;
            never(0) = "x";
        },
        9);
    // Each index is tested against its own dimension, not against the whole block.
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 2, 3);
            a(2, 0) = 1;
        },
        9);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 2, 3);
            a(0, 0, 1) = 1;
        },
        9);
}

TEST(RtArray, PushAndDeleteOnUnsuitableArraysEndWithError8) {
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a = Numbers({1, 2, 3, 4, 5});
            DimDel(a, 7);
        },
        8);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 2, 2);
            DimPush(a, 1);
        },
        8);
    // Three dimensions with an unused second one are still not a list.
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 5, 0, 3);
            DimPush(a, 1);
        },
        8);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            DimDel(a, 0);
        },
        8);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 3, 2);
            DimDel(a, 0);
        },
        8);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 3, 2);
            SortArray(a);
        },
        8);
}

TEST(RtArray, SizesThatDoNotFitEndWithError7) {
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 65536, 65536);
        },
        7);
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<double> a;
            Dim(a, 2147483647, 1, 1, 2);
        },
        7);
    // The largest total still needs one step more than fits.
    EXPECT_RUNTIME_ERROR(
        {
            RtArray<RtString> a;
            Dim(a, 2147483647);
        },
        7);
}

TEST(RtArray, FirstIndexVariesFastest) {
    RtArray<int32_t> a;
    Dim(a, 2, 3, 2);
    EXPECT_EQ(a.Dimensions(), 3);
    int32_t n = 0;
    for (int32_t& e : a) e = n++;
    EXPECT_EQ(n, 12);
    EXPECT_EQ(a(1, 0, 0), 1);
    EXPECT_EQ(a(0, 1, 0), 2);
    EXPECT_EQ(a(0, 0, 1), 6);
    EXPECT_EQ(a(1, 2, 1), 11);
    EXPECT_EQ(a(-1, -1, -1), 11);
    RtArray<int32_t> four;
    Dim(four, 2, 2, 2, 2);
    four(1, 1, 1, 1) = 7;
    EXPECT_EQ(four.Dimensions(), 4);
    EXPECT_EQ(Elements(four).back(), 7);
}

TEST(RtArray, CapacityStepsByElementTypeAndNeverShrinksOnDim) {
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

    RtArray<double> a;
    Dim(a, 100);
    a(99) = 5;
    Dim(a, 10, 2);
    EXPECT_EQ(a.Capacity(), 104);
    EXPECT_EQ(Bounds(a, 1), 2);
    for (double e : a) EXPECT_EQ(e, 0);
}

TEST(RtArray, DimEmptiesEveryString) {
    RtArray<RtString> a;
    Dim(a, 3);
    a(0) = "one";
    a(2) = "three";
    Dim(a, 3);
    for (const RtString& s : a) EXPECT_EQ(s, "");
    Dim(a, 2);
    a(1) = "kept?";
    Dim(a, 5);
    EXPECT_EQ(a(1), "");
}

TEST(RtArray, RedimKeepsEveryElementThatStillFits) {
    RtArray<double> a = Numbers({1, 2, 3, 4, 5});
    Redim(a, 3);
    EXPECT_EQ(Elements(a), (std::vector<double>{1, 2, 3}));
    Redim(a, 6);
    EXPECT_EQ(Elements(a), (std::vector<double>{1, 2, 3, 0, 0, 0}));

    RtArray<RtString> grid;
    Dim(grid, 3, 2);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 3; ++x) grid(x, y) = RtString(x * 10 + y);
    Redim(grid, 2, 3);
    EXPECT_EQ(grid(0, 0), "0");
    EXPECT_EQ(grid(1, 0), "10");
    EXPECT_EQ(grid(0, 1), "1");
    EXPECT_EQ(grid(1, 1), "11");
    EXPECT_EQ(grid(1, 2), "");
    // A one-dimensional array gains a dimension: its elements become the first column.
    RtArray<double> line = Numbers({7, 8});
    Redim(line, 2, 2);
    EXPECT_EQ(Elements(line), (std::vector<double>{7, 8, 0, 0}));
}

TEST(RtArray, PushAppendsAndDeleteClosesTheGap) {
    RtArray<RtString> a;
    DimPush(a, "first");
    EXPECT_EQ(Bounds(a, 0), 1);
    for (int i = 1; i < 70; ++i) DimPush(a, RtString(i));
    EXPECT_EQ(Bounds(a, 0), 70);
    EXPECT_EQ(a.Capacity(), 128);
    EXPECT_EQ(a(0), "first");
    for (int32_t i = 1; i < 70; ++i) ASSERT_EQ(a(i), RtString(i));
    // Pushing an element of the array itself, across a block change.
    RtArray<RtString> b;
    Dim(b, 64);
    b(3) = "self";
    DimPush(b, b(3));
    EXPECT_EQ(b(64), "self");

    DimDel(a, -1);
    EXPECT_EQ(Bounds(a, 0), 69);
    EXPECT_EQ(a(-1), "68");
    DimDel(a, 0);
    EXPECT_EQ(a(0), "1");
    for (int i = 0; i < 5; ++i) DimDel(a, 0);
    EXPECT_EQ(Bounds(a, 0), 63);
    EXPECT_EQ(a.Capacity(), 64);
    EXPECT_EQ(a(0), "6");
    // The slot a delete freed comes back empty.
    Redim(a, 64);
    EXPECT_EQ(a(63), "");

    RtArray<double> one = Numbers({3});
    DimDel(one, 0);
    EXPECT_EQ(Bounds(one, 0), 0);
    DimPush(one, 4);
    EXPECT_EQ(Elements(one), (std::vector<double>{4}));
}

TEST(RtArray, CopiesAreIndependent) {
    RtArray<RtString> a;
    DimPush(a, "a");
    RtArray<RtString> b = a;
    b(0) = "b";
    EXPECT_EQ(a(0), "a");
    RtArray<RtString> c = std::move(b);
    EXPECT_EQ(c(0), "b");
    EXPECT_EQ(Bounds(b, 0), 0);
}

TEST(SortArray, NumbersAscendAndShortArraysStayAsTheyAre) {
    RtArray<double> a = Numbers({5, -1, 3, 3, 0.5, 100, -7});
    SortArray(a);
    EXPECT_EQ(Elements(a), (std::vector<double>{-7, -1, 0.5, 3, 3, 5, 100}));
    RtArray<double> empty;
    SortArray(empty);
    EXPECT_EQ(Bounds(empty, 0), 0);
    RtArray<double> one = Numbers({2});
    SortArray(one, [](double, double) { return -1; });
    EXPECT_EQ(Elements(one), (std::vector<double>{2}));

    RtArray<double> many;
    for (int i = 0; i < 1000; ++i) DimPush(many, double((i * 7919) % 1000));
    SortArray(many);
    for (int32_t i = 0; i < 1000; ++i) ASSERT_EQ(many(i), i);
}

TEST(SortArray, RecordsByComparisonLargestFirst) {
    RtArray<Mode> modes;
    for (int32_t w : {800, 1920, 640, 1024, 1280, 640}) DimPush(modes, Mode{w, w * 3 / 4, RtString(w)});
    SortArray(modes, [](const Mode& a, const Mode& b) { return a.width > b.width ? -1 : 1; });
    std::vector<int32_t> widths;
    for (const Mode& m : modes) {
        widths.push_back(m.width);
        EXPECT_EQ(m.name, RtString(m.width));
    }
    EXPECT_EQ(widths, (std::vector<int32_t>{1920, 1280, 1024, 800, 640, 640}));
    SortArray(modes);
    EXPECT_EQ(modes(0).width, 640);
    EXPECT_EQ(modes(-1).width, 1920);
}

// Under the sanitizers these would show any read outside the block or a deep recursion.
TEST(SortArray, SurvivesLyingComparisonsNaNAndDegenerateInput) {
    RtArray<double> a;
    for (int i = 0; i < 5000; ++i) DimPush(a, double(i % 13));
    int calls = 0;
    SortArray(a, [&calls](double, double) { return ++calls % 3 == 0 ? -1.0 : 1.0; });
    // Some order, but every element still there exactly once.
    std::vector<double> sorted = Elements(a);
    std::sort(sorted.begin(), sorted.end());
    std::vector<double> original;
    for (int i = 0; i < 5000; ++i) original.push_back(double(i % 13));
    std::sort(original.begin(), original.end());
    EXPECT_EQ(sorted, original);

    RtArray<double> nan = Numbers({3, std::nan(""), 1, std::nan(""), 2});
    SortArray(nan);
    EXPECT_EQ(Bounds(nan, 0), 5);
    SortArray(nan, [](double, double) { return std::nan(""); });

    RtArray<double> big;
    Dim(big, 200000);
    SortArray(big); // all equal
    for (int32_t i = 0; i < 200000; ++i) big(i) = i;
    SortArray(big);
    SortArray(big, [](double x, double y) { return y - x; });
    EXPECT_EQ(big(0), 199999);
    EXPECT_EQ(big(-1), 0);
}
