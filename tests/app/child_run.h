// Running a program as a child of a test: its folder, its environment, its output, how it ended.
#pragma once

#include <string>
#include <vector>

struct ChildResult {
    // The exit status, 128 + the signal's number, or -1 when it ran too long; a program that cannot start
    // ends with env's 126 or 127.
    int status = -1;
    std::string output;
    long peakRssKb = 0;
    double cpuSeconds = 0; // user and system time
};

// Runs program with args in folder, with the test's environment changed by env: "NAME=value" sets a
// variable, a bare "NAME" removes it. A child still running after timeoutSeconds is killed.
ChildResult RunChild(const std::string& program, const std::vector<std::string>& args, const std::string& folder,
                     const std::vector<std::string>& env, int timeoutSeconds = 60);
