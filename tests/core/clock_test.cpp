// The platform clocks: the first reading of a process is at its origin, not wrapped below it.
#include "platform/clock.h"

#include <cstdlib>
#include <gtest/gtest.h>

TEST(Clock, FirstReadingsOfAProcessStartNearZero) {
    EXPECT_EXIT(std::exit(platform::Counter() < 1000000000u ? 0 : 1), testing::ExitedWithCode(0), "");
    EXPECT_EXIT(std::exit(platform::Milliseconds() < 1000u ? 0 : 1), testing::ExitedWithCode(0), "");
}
