// Death tests for fatal runtime errors: the exit status, the line that names the error and the code
// the end report logged.
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

// Runs statement in a child with debug mode on; it must end with code as status and in the report,
// and say "Runtime error <code>: <meaning>" on standard error and in the log.
#define EXPECT_RUNTIME_ERROR(statement, code, meaning)                                                                 \
    do {                                                                                                               \
        platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");                                                    \
        std::string said = "Runtime error " + std::to_string(code) + ": " + (meaning);                                 \
        EXPECT_EXIT(                                                                                                   \
            {                                                                                                          \
                Settings().debugMode = 1;                                                                              \
                statement;                                                                                             \
            },                                                                                                         \
            testing::ExitedWithCode(code), said);                                                                      \
        EXPECT_EQ(LoggedEndCode(), code);                                                                              \
        EXPECT_NE(ReadLog().find(said), std::string::npos) << said;                                                    \
    } while (0)
