// System services: starting programs (the file chooser among them), machine facts, library functions.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/files/system_services.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <tuple>
#include <vector>

TEST(ProcessRun, WaitsForTheStatusSplitsArgumentsFindsProgramsHereAndBesideItAndRunsTheFileChooser) {
    StartRuntime();
    // A folder away from the test program, so that only the lookup beside the program finds its helper.
    std::string dir = FreshDir(), out = dir + "args.txt", args = dir + "zenity.txt";
    ASSERT_TRUE(platform::SetCurrentDir(dir));
    const std::pair<const char*, std::string> programs[] = {
        {"exit_with", "#!/bin/sh\n[ \"$1\" = kill ] && kill -9 $$\nexit $1\n"},
        {"not_a_program", "plain text"},
        {"zenity", "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + args + "\ncd /\necho '/data\\\\saves/slot 1.sav'\n"}};
    for (const auto& [name, text] : programs) {
        std::ofstream(dir + name) << text;
        chmod((dir + name).c_str(), 0700);
    }
    // 259 (still active) is only the status a Linux program can give; a signal reports 128 + its number;
    // without waiting the exit code stays 0; a file found that the system cannot start, or none found,
    // starts nothing.
    // clang-format off
    const std::tuple<RtString, int, double> runs[] = {
        {"exit_with 7", 1, 0}, {"exit_with 255", 1, 255}, {"exit_with 259", 1, 259 & 0xFF},
        {"exit_with kill", 1, 128 + 9}, {"\"" + RtString(dir) + "exit_with\" 3", 1, 3}, {"not_a_program", 0, 0},
        {"no_such_program_tmv 1", 0, 0}, {"   ", 0, 0},
        {RtString(("print_args " + out + R"( "two words" plain "say \"hi\"" a\b "" end\\")").c_str()), 1, 0}};
    // clang-format on
    for (const auto& [line, started, expected] : runs) {
        double code = -5;
        EXPECT_EQ(ProcessRun(line, line != "exit_with 7", 1, code), started) << line.c_str();
        EXPECT_EQ(code, expected) << line.c_str();
    }
    signal(SIGCHLD, SIG_IGN); // the system reaps the program itself: the wait still ends
    double code = 0;
    EXPECT_EQ(ProcessRun("exit_with 7", 1, 1, code), 1);
    signal(SIGCHLD, SIG_DFL);
    EXPECT_EQ(ReadFile(out), platform::CurrentDir() + "\ntwo words\nplain\nsay \"hi\"\na\\b\n\nend\\\n")
        << "started in the caller's folder, though found beside the test program";

    // The file chooser answers.
    std::string oldPath = std::getenv("PATH"), folder = platform::CurrentDir();
    setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    EXPECT_EQ(FileRequest(0, "Saves|*.sav;*.bak|All|*.*").str(), "/data/saves/slot 1.sav");
    EXPECT_EQ(ReadFile(args), "--file-selection\n--filename=" + folder +
                                  "/\n--save\n--confirm-overwrite\n"
                                  "--file-filter=Saves | *.sav *.bak\n--file-filter=All | *.*\n");
    setenv("PATH", oldPath.c_str(), 1);
}

TEST(SystemInfo, KeysAreUpperCasedAndAnsweredLibrariesBindByLowerCaseNameFirstEachOnce) {
    StartRuntime();
    // The driver gives an address for any name: an extension's function must also be in its list, and a
    // version's function needs that version (Mesa's llvmpipe offers 4.5).
    // clang-format off
    const std::pair<const char*, const char*> answers[] = {
        {"", "LINUX"}, {"device", "DESKTOP"}, {"time", R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"}, {"id", "[0-9A-F]{8}"},
        {"weather-z", "NO_DATA"}, {"GLEXT", "NO_DATA"}, {"Battery", "100|[1-9]?[0-9]|255"}, {"GLEXT:glBegin", "1"},
        {"glext:glActiveTextureARB", "1"}, {"GLEXT:glTmvInventedFunction", "0"}, {"GLEXT:glGetnUniformfv", "1"},
        {"GLEXT:glSpecializeShader", "0"}};
    // clang-format on
    for (auto [key, answer] : answers) {
        RtString asked = key;
        EXPECT_TRUE(std::regex_match(SystemInfo(asked).str(), std::regex(answer))) << key;
        EXPECT_FALSE(std::regex_search(asked.str(), std::regex("[a-z]"))) << "upper-cased " << key;
    }

    // A library is looked up by its lower-case name, then as written, and loaded once; a missing library,
    // a missing function or no name at all (which would be the program itself) binds nothing.
    const std::tuple<const char*, const char*, bool> binds[] = {
        {"libSDL2-2.0.so.0", "SDL_GetTicks", true}, {"LIBM.so.6", "cos", true},           {"libm.so.6", "sin", true},
        {"libm.so.6", "tmv_no_function", false},    {"no-such-library.so", "cos", false}, {"", "cos", false}};
    for (auto [name, function, found] : binds) {
        RtString module = name;
        void* pointer = &module;
        LibraryBind(module, function, pointer);
        EXPECT_EQ(pointer != nullptr, found) << name << " " << function;
    }
    EXPECT_EQ(Libraries().names, (std::vector<RtString>{"libsdl2-2.0.so.0", "libm.so.6"}));
}
