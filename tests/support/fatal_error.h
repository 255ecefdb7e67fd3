// Death tests for fatal runtime errors: the exit status and the code the end report logged.
#pragma once

#include "platform/paths.h"
#include "runtime/core/core.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <string>

// The code in the debug-mode end report of the last run, or -1 when there is none.
inline int LoggedEndCode() {
    std::string log = ReadLog();
    size_t at = log.rfind("-End On Line\r\n");
    if (at == std::string::npos) return -1;
    return std::stoi(log.substr(at + 14));
}

// Runs statement in a child with debug mode on; it must end with code as status and in the report.
#define EXPECT_RUNTIME_ERROR(statement, code)                                                                          \
    do {                                                                                                               \
        platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");                                                    \
        EXPECT_EXIT(                                                                                                   \
            {                                                                                                          \
                Settings().debugMode = 1;                                                                              \
                statement;                                                                                             \
            },                                                                                                         \
            testing::ExitedWithCode(code), "");                                                                        \
        EXPECT_EQ(LoggedEndCode(), code);                                                                              \
    } while (0)
