// The main of every test program: headless drivers, a private temporary folder, and death tests that
// start a fresh process (a forked copy would share the parent's GL context).
#include "runtime/core/core_internal.h"
#include "tests/support/headless.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string_view>

namespace {

bool gTestsFinished = false;

} // namespace

int main(int argc, char** argv) {
    UseHeadlessEnvironment();
    bool deathTestChild = false;
    for (int i = 1; i < argc; ++i)
        deathTestChild |= std::string_view(argv[i]).starts_with("--gtest_internal_run_death_test");
    // The runtime ends the process with status 0 on a normal end; outside a death test that would
    // silently skip every test after it, so it fails the program instead.
    if (!deathTestChild)
        RegisterExitHandler([] {
            if (gTestsFinished) return;
            std::fputs("The runtime ended the test program before its tests had finished.\n", stderr);
            std::_Exit(99);
        });
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    int status = RUN_ALL_TESTS();
    gTestsFinished = true;
    return status;
}
