// The numeric commands on the inputs where they differ from the plain library functions.
#include "runtime/core/core.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <utility>

TEST(Numbers, TrigonometryInDegreesWithClampedInverses) {
    EXPECT_NEAR(Sin(90), 1, 1e-15);
    EXPECT_NEAR(Cos(180), -1, 1e-15);
    EXPECT_NEAR(Tan(45), 1, 1e-15);
    EXPECT_NEAR(ATan(1, -1), 135, 1e-12);
    EXPECT_NEAR(ATan(-1, -1), -135, 1e-12);
    EXPECT_NEAR(ASin(0.5), 30, 1e-12);
    EXPECT_EQ(ASin(1.5), 90);
    EXPECT_EQ(ASin(-1), -90);
    EXPECT_EQ(ACos(-2), 180);
    EXPECT_EQ(ACos(1), 0);
    EXPECT_TRUE(std::isnan(SquareRoot(-1)));
}

TEST(Numbers, AbsoluteValuesRemaindersLengthsAndCharacterCodes) {
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    for (auto [x, abs] : {std::pair{-2.5, 2.5}, {0.5, 0.5}, {-0.5, 0.5}, {3.0, 3.0}}) EXPECT_EQ(Abs(x), abs) << x;
    EXPECT_TRUE(std::isnan(Abs(NAN)));
    EXPECT_EQ(IntAbs(-7), 7);
    EXPECT_EQ(IntAbs(kMin), kMin);
    EXPECT_EQ(Mod(7, 0), 0);
    EXPECT_EQ(Mod(-7, 3), -1);
    EXPECT_EQ(Mod(7, -3), 1);
    EXPECT_EQ(Mod(kMin, -1), 0);
    EXPECT_EQ(Mod(kMin, 3), -2);
    EXPECT_EQ(FMod(7.5, 0), 0);
    EXPECT_EQ(FMod(-7.5, 2), -1.5);
    EXPECT_EQ(FMod(7.5, -2), 1.5);

    EXPECT_EQ(Len(RtString("abc")), 3);
    EXPECT_EQ(Len(0.5), 3);
    EXPECT_EQ(Len(100.0), 3);
    EXPECT_EQ(Len(kMin), 11);
    EXPECT_EQ(Asc(RtString()), 0);
    EXPECT_EQ(Asc(RtString("\xE4x")), 228);
    EXPECT_EQ(Chr(0), "");
    EXPECT_EQ(Chr(0x141), "A");
}

TEST(Numbers, BoxCollisionCoversStartToFarEdge) {
    EXPECT_EQ(BoxCollision(0, 0, 10, 10, 10, 0, 5, 5), 0);
    EXPECT_EQ(BoxCollision(0, 0, 10, 10, 9, 9, 5, 5), 1);
    EXPECT_EQ(BoxCollision(10, 10, -5, -5, 6, 6, 0, 0), 1);
    EXPECT_EQ(BoxCollision(10, 10, -5, -5, 5, 5, 0, 0), 0);
    EXPECT_EQ(BoxCollision(3, 3, 0, 0, 3, 3, 0, 0), 1);
    EXPECT_EQ(BoxCollision(3, 3, 0, 0, 4, 3, 0, 0), 0);
    // x overlaps, y does not
    EXPECT_EQ(BoxCollision(0, 0, 10, 10, 5, 20, 5, 5), 0);
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(BoxCollision(kMax, kMax, kMax, kMax, kMax, kMax, 1, 1), 1);
    EXPECT_EQ(BoxCollision(kMin, kMin, kMin, kMin, kMin, kMin, 0, 0), 1);
    EXPECT_EQ(BoxCollision(kMin, 0, kMax, 1, -1, 0, 1, 1), 0);
    EXPECT_EQ(BoxCollision(kMin, 0, kMax, 1, -2, 0, 1, 1), 1);
}
