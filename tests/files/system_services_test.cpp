// System services: starting programs (the file chooser among them), machine facts.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/files/system_services.h"
#include "tests/files/file_test_support.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <tuple>

namespace {

void WriteScript(const std::string& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0700);
}

} // namespace

TEST(ProcessRun, WaitsForTheStatusSplitsArgumentsFindsProgramsHereAndBesideItAndRunsTheFileChooser) {
    StartRuntime();
    // A folder away from the test program, so that only the lookup beside the program finds its helper.
    std::string dir = FreshDir(), out = dir + "args.txt";
    ASSERT_TRUE(platform::SetCurrentDir(dir));
    WriteScript(dir + "exit_with", "[ \"$1\" = kill ] && kill -9 $$\nexit $1");
    std::ofstream(dir + "not_a_program") << "plain text";
    chmod((dir + "not_a_program").c_str(), 0700);
    // 259 (still active) is only the status a Linux program can give; a signal reports 128 + its number;
    // without waiting the exit code stays 0; a file found that the system cannot start, or none found,
    // starts nothing.
    // clang-format off
    const std::tuple<RtString, int, double> runs[] = {
        {"exit_with 7", 1, 0}, {"exit_with 255", 1, 255}, {"exit_with 259", 1, 259 & 0xFF}, {"exit_with kill", 1, 128 + 9},
        {"\"" + RtString(dir) + "exit_with\" 3", 1, 3}, {"not_a_program", 0, 0}, {"no_such_program_tmv 1", 0, 0},
        {"   ", 0, 0}, {RtString(("print_args " + out + R"( "two words" plain "say \"hi\"" a\b "" end\\")").c_str()), 1, 0}};
    // clang-format on
    for (const auto& [line, started, expected] : runs) {
        double code = -5;
        EXPECT_EQ(ProcessRun(line, line != "exit_with 7", 1, code), started) << line.c_str();
        EXPECT_EQ(code, expected) << line.c_str();
    }
    EXPECT_EQ(ReadFile(out), platform::CurrentDir() + "\ntwo words\nplain\nsay \"hi\"\na\\b\n\nend\\\n")
        << "started in the caller's folder, though found beside the test program";

    // The file chooser answers, and the folder stays.
    std::string args = dir + "zenity.txt", oldPath = std::getenv("PATH"), folder = platform::CurrentDir();
    setenv("PATH", (dir + ":" + oldPath).c_str(), 1);
    WriteScript(dir + "zenity", "printf '%s\\n' \"$@\" > " + args + "\ncd /\necho '/data\\\\saves/slot 1.sav'");
    EXPECT_EQ(FileRequest(0, "Saves|*.sav;*.bak|All|*.*").str(), "/data/saves/slot 1.sav");
    EXPECT_EQ(platform::CurrentDir(), folder);
    EXPECT_EQ(ReadFile(args), "--file-selection\n--filename=" + folder +
                                  "/\n--save\n--confirm-overwrite\n"
                                  "--file-filter=Saves | *.sav *.bak\n--file-filter=All | *.*\n");
    setenv("PATH", oldPath.c_str(), 1);
}

TEST(SystemInfo, KeysAreUpperCasedAndAnswered) {
    StartRuntime();
    // The driver gives an address for any name: an extension's function must also be in its list, and a
    // version's function needs that version (Mesa's llvmpipe offers 4.5).
    // clang-format off
    const std::pair<const char*, const char*> answers[] = {
        {"", "LINUX"}, {"device", "DESKTOP"}, {"time", R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)"}, {"id", "[0-9A-F]{8}"},
        {"weather", "NO_DATA"}, {"GLEXT", "NO_DATA"}, {"Battery", "100|[1-9]?[0-9]|255"}, {"GLEXT:glBegin", "1"},
        {"glext:glActiveTextureARB", "1"}, {"GLEXT:glTmvInventedFunction", "0"}, {"GLEXT:glGetnUniformfv", "1"},
        {"GLEXT:glSpecializeShader", "0"}};
    // clang-format on
    for (auto [key, answer] : answers) {
        RtString asked = key;
        std::string said = SystemInfo(asked).str();
        EXPECT_TRUE(std::regex_match(said, std::regex(answer))) << key << ": " << said;
    }
}
