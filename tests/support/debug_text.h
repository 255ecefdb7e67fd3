// What the runtime's debug channel printed while a piece of test code ran.
#pragma once

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

inline std::string DebugText(const std::function<void()>& body) {
    setenv("TMV_DEBUG_OUTPUT", "1", 1);
    testing::internal::CaptureStderr();
    body();
    std::string text = testing::internal::GetCapturedStderr();
    unsetenv("TMV_DEBUG_OUTPUT");
    return text;
}
