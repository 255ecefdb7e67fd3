// The main of every test program: headless drivers, a private temporary folder, and death tests that
// start a fresh process (a forked copy would share the parent's GL context).
#include "tests/support/headless.h"

#include "runtime/core/runtime_state.h"

#include <SDL.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    UseHeadlessEnvironment();
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int result = RUN_ALL_TESTS();
    // The GL driver's threads end with the context, before the leak check walks the process.
    Runtime().device.reset();

    return result;
}
