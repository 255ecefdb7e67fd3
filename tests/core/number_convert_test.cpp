// The one number-to-integer conversion on the inputs that are undefined behaviour for a plain cast.
#include "runtime/core/number_convert.h"

#include <gtest/gtest.h>
#include <limits>

TEST(NumberToInt, TruncatesSaturatesAndMapsNaNToZero) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(NumberToInt(std::nan("")), 0);
    EXPECT_EQ(NumberToInt(inf), 2147483647);
    EXPECT_EQ(NumberToInt(-inf), -2147483647 - 1);
    EXPECT_EQ(NumberToInt(1099511627776.0), 2147483647); // 2^40
    EXPECT_EQ(NumberToInt(-1099511627776.0), -2147483647 - 1);
    EXPECT_EQ(NumberToInt(-2.9), -2);
    EXPECT_EQ(NumberToInt(2.9), 2);
    EXPECT_EQ(NumberToInt(-2147483648.0), -2147483647 - 1);
}
