// The main of every test program: headless drivers, a private temporary folder, and death tests that
// start a fresh process (a forked copy would share the parent's GL context).
#include "tests/support/headless.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    UseHeadlessEnvironment();
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    return RUN_ALL_TESTS();
}
