// System services: starting programs, binding library functions, machine facts, the file chooser.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/files/system_services.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>
#include <tuple>

namespace {

// A folder away from the test program, so that only the lookup beside the program finds the helpers.
std::string ElsewhereDir() {
    std::string dir = platform::TempDir() + "elsewhere";
    mkdir(dir.c_str(), 0700);
    return dir;
}

void WriteScript(const std::string& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0700);
}

std::string Info(const char* key) {
    RtString upperCased = key;
    return SystemInfo(upperCased).str();
}

// The bound pointer, which starts as a non-null value so that a call that leaves it alone shows.
void* Bind(RtString& module, const char* function) {
    void* pointer = reinterpret_cast<void*>(1);
    LibraryBind(module, function, pointer);
    return pointer;
}

} // namespace

TEST(ProcessRun, WaitsForTheStatusSplitsArgumentsAndFindsProgramsBesideItAndInTheCurrentFolder) {
    StartRuntime();
    std::string dir = ElsewhereDir(), out = platform::TempDir() + "args.txt";
    ASSERT_TRUE(platform::SetCurrentDir(dir));
    WriteScript(dir + "/local_tool", "exit 12");
    std::ofstream(dir + "/not_a_program") << "plain text";
    chmod((dir + "/not_a_program").c_str(), 0700);
    // 259 (still active) is only the status a Linux program can give; a signal reports 128 + its number;
    // without waiting the exit code stays 0; the current folder is searched too; a file found that the
    // system cannot start, or none found, starts nothing.
    // clang-format off
    const std::tuple<RtString, int, double> runs[] = {
        {"exit_with 7", 1, 0}, {"exit_with 255", 1, 255}, {"exit_with 259", 1, 259 & 0xFF}, {"exit_with kill", 1, 128 + 9},
        {"\"" + RtString(platform::ProgramDir()) + "/exit_with\" 3", 1, 3}, {"local_tool", 1, 12}, {"not_a_program", 0, 0},
        {"no_such_program_tmv 1", 0, 0}, {"   ", 0, 0},
        {RtString(("print_args " + out + R"( "two words" plain "say \"hi\"" a\b "" end\\")").c_str()), 1, 0}};
    // clang-format on
    for (const auto& [line, started, expected] : runs) {
        double code = -5;
        EXPECT_EQ(ProcessRun(line, line != "exit_with 7", 1, code), started) << line.c_str();
        EXPECT_EQ(code, expected) << line.c_str();
    }
    EXPECT_EQ(ReadFile(out), dir + "\ntwo words\nplain\nsay \"hi\"\na\\b\n\nend\\\n")
        << "started in the caller's folder, though found beside the test program";
}

TEST(LibraryBind, EachModuleLoadsOnceUnderItsLowerCaseNameAndAMissingOneIsReported) {
    ASSERT_TRUE(platform::SetCurrentDir(platform::ProgramDir()));
    size_t before = Libraries().names.size();
    RtString upper = "./LIBTMVSAMPLE.SO", lower = "./libtmvsample.so", mixed = "./libTmvMixed.so";
    void* f = Bind(upper, "TmvSampleAnswer");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(reinterpret_cast<int (*)()>(f)(), 42);
    EXPECT_EQ(upper.str(), "./libtmvsample.so");
    EXPECT_EQ(Bind(lower, "TmvSampleAnswer"), f);
    EXPECT_EQ(Libraries().names.size(), before + 1) << "loaded once";
    EXPECT_EQ(Bind(lower, "tmvsampleanswer"), nullptr) << "function names keep their case";
    // The file's own name has capitals: it is loaded as written, cached in lower case.
    EXPECT_NE(Bind(mixed, "TmvSampleAnswer"), nullptr);
    EXPECT_EQ(mixed.str(), "./libtmvmixed.so");
    EXPECT_EQ(Libraries().names.back().str(), "./libtmvmixed.so");
    EXPECT_EQ(Libraries().names.size(), before + 2);

    setenv("TMV_DEBUG_OUTPUT", "1", 1);
    RtString name = "User32.DLL", empty = "";
    testing::internal::CaptureStderr();
    EXPECT_EQ(Bind(name, "EnumDisplaySettingsA"), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "DECLARE module not found: user32.dll\n");
    unsetenv("TMV_DEBUG_OUTPUT");
    EXPECT_EQ(Bind(empty, "main"), nullptr) << "an empty name is no module, not the running program";
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
    for (auto [key, answer] : answers)
        EXPECT_TRUE(std::regex_match(Info(key), std::regex(answer))) << key << ": " << Info(key);
    RtString key = "device";
    SystemInfo(key);
    EXPECT_EQ(key.str(), "DEVICE");
    EXPECT_NE(ReadLog().find("ext: glTmvInventedFunction                 [FAIL]\r\n"), std::string::npos);
    std::string path = platform::TempDir() + "id.txt";
    EXPECT_EXIT((std::ofstream(path) << Info("ID") << std::flush, std::exit(0)), testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(path), Info("id")) << "another process answers the same";
}

TEST(FileRequest, TheChooserAnswersAndTheFolderStays) {
    StartRuntime();
    std::string bin = platform::TempDir() + "chooser-bin";
    mkdir(bin.c_str(), 0700);
    std::string args = platform::TempDir() + "chooser-args.txt";
    std::string oldPath = std::getenv("PATH");
    setenv("PATH", (bin + ":" + oldPath).c_str(), 1);
    std::string dir = ElsewhereDir();
    ASSERT_TRUE(platform::SetCurrentDir(dir));

    WriteScript(bin + "/zenity", "printf '%s\\n' \"$@\" > " + args + "\ncd /\necho '/data\\\\saves/slot 1.sav'");
    EXPECT_EQ(FileRequest(0, "Saves|*.sav;*.bak|All|*.*").str(), "/data/saves/slot 1.sav");
    EXPECT_EQ(platform::CurrentDir(), dir);
    EXPECT_EQ(ReadFile(args), "--file-selection\n--filename=" + dir +
                                  "/\n--save\n--confirm-overwrite\n"
                                  "--file-filter=Saves | *.sav *.bak\n--file-filter=All | *.*\n");
    EXPECT_FALSE(Device().fullScreen);

    WriteScript(bin + "/zenity", "exit 1");
    EXPECT_EQ(FileRequest(1, "").str(), "NO_FILE") << "cancelled";
    EXPECT_EQ(platform::CurrentDir(), dir);

    setenv("PATH", bin.c_str(), 1);
    unlink((bin + "/zenity").c_str());
    EXPECT_EQ(FileRequest(1, "").str(), "NO_FILE") << "no chooser installed";
    setenv("PATH", oldPath.c_str(), 1);
}
