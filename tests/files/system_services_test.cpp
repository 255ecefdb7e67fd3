// System services: starting programs, binding library functions, machine facts, the file chooser.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/files/system_services.h"
#include "tests/support/headless.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>

namespace {

std::string ProgramDir() {
    std::string exe = platform::ExecutablePath();
    return exe.substr(0, exe.rfind('/'));
}

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

std::string S(const RtString& s) { return std::string(s.view()); }

} // namespace

TEST(ProcessRun, WaitingGivesTheExitStatusAndNotWaitingReturnsAtOnce) {
    StartRuntime();
    ASSERT_TRUE(platform::SetCurrentDir(ElsewhereDir()));
    double code = -5;
    EXPECT_EQ(ProcessRun("exit_with 7", 0, 1, code), 1);
    EXPECT_EQ(code, 0) << "without waiting the exit code stays 0";
    EXPECT_EQ(ProcessRun("exit_with 7", 1, 1, code), 1);
    EXPECT_EQ(code, 7);
    EXPECT_EQ(ProcessRun("exit_with 255", 1, 0, code), 1);
    EXPECT_EQ(code, 255);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ProcessRun("exit_with 259", 1, 0, code), 1);
    EXPECT_EQ(code, 259 & 0xFF) << "the status a Linux program can give";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(ProcessRun("exit_with kill", 1, 0, code), 1);
    EXPECT_EQ(code, 128 + 9) << "a program ended by a signal reports 128 + the signal";

    code = -5;
    EXPECT_EQ(ProcessRun("no_such_program_tmv 1", 1, 1, code), 0);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ProcessRun("", 1, 1, code), 0);
    EXPECT_EQ(ProcessRun("   ", 0, 1, code), 0);
    EXPECT_EQ(ProcessRun("\"" + RtString(ProgramDir().c_str()) + "/exit_with\" 3", 1, 1, code), 1);
    EXPECT_EQ(code, 3) << "a quoted path to the program";
}

TEST(ProcessRun, ArgumentsAreSplitAsWindowsSplitsThem) {
    StartRuntime();
    std::string dir = ElsewhereDir();
    ASSERT_TRUE(platform::SetCurrentDir(dir));
    std::string out = platform::TempDir() + "args.txt";
    double code = -1;
    RtString line = RtString(("print_args " + out + R"( "two words" plain "say \"hi\"" a\b "" end\\")").c_str());
    ASSERT_EQ(ProcessRun(line, 1, 1, code), 1);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ReadFile(out), dir + "\ntwo words\nplain\nsay \"hi\"\na\\b\n\nend\\\n")
        << "started in the caller's folder, though found beside the test program";
}

TEST(ProcessRun, TheCurrentFolderIsSearchedAfterTheProgramsOwn) {
    StartRuntime();
    std::string dir = ElsewhereDir();
    WriteScript(dir + "/local_tool", "exit 12");
    ASSERT_TRUE(platform::SetCurrentDir(dir));
    double code = 0;
    EXPECT_EQ(ProcessRun("local_tool", 1, 1, code), 1);
    EXPECT_EQ(code, 12);
}

TEST(LibraryBind, EachModuleLoadsOnceUnderItsLowerCaseName) {
    ASSERT_TRUE(platform::SetCurrentDir(ProgramDir()));
    size_t before = Libraries().names.size();
    RtString upper = "./LIBTMVSAMPLE.SO";
    void* f = reinterpret_cast<void*>(1);
    LibraryBind(upper, "TmvSampleAnswer", f);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(reinterpret_cast<int (*)()>(f)(), 42);
    EXPECT_EQ(S(upper), "./libtmvsample.so");
    RtString lower = "./libtmvsample.so";
    void* g = nullptr;
    LibraryBind(lower, "TmvSampleAnswer", g);
    EXPECT_EQ(g, f);
    EXPECT_EQ(Libraries().names.size(), before + 1) << "loaded once";

    void* missing = reinterpret_cast<void*>(1);
    LibraryBind(lower, "tmvsampleanswer", missing);
    EXPECT_EQ(missing, nullptr) << "function names keep their case";

    // The file's own name has capitals: it is loaded as written, cached in lower case.
    RtString mixed = "./libTmvMixed.so";
    void* h = nullptr;
    LibraryBind(mixed, "TmvSampleAnswer", h);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(S(mixed), "./libtmvmixed.so");
    EXPECT_EQ(S(Libraries().names.back()), "./libtmvmixed.so");
    EXPECT_EQ(Libraries().names.size(), before + 2);
}

TEST(LibraryBind, AMissingModuleIsReportedOnTheDebugChannel) {
    setenv("TMV_DEBUG_OUTPUT", "1", 1);
    RtString name = "User32.DLL";
    void* f = reinterpret_cast<void*>(1);
    testing::internal::CaptureStderr();
    LibraryBind(name, "EnumDisplaySettingsA", f);
    std::string said = testing::internal::GetCapturedStderr();
    unsetenv("TMV_DEBUG_OUTPUT");
    EXPECT_EQ(f, nullptr);
    EXPECT_EQ(said, "TXDECLARE module not found: user32.dll\n");

    RtString empty = "";
    void* own = reinterpret_cast<void*>(1);
    LibraryBind(empty, "main", own);
    EXPECT_EQ(own, nullptr) << "an empty name is no module, not the running program";
}

TEST(SystemInfo, KeysAreUpperCasedAndAnswered) {
    RtString key = "";
    EXPECT_EQ(S(SystemInfo(key)), "LINUX");
    key = "device";
    EXPECT_EQ(S(SystemInfo(key)), "DESKTOP");
    EXPECT_EQ(S(key), "DEVICE");
    key = "time";
    EXPECT_TRUE(std::regex_match(S(SystemInfo(key)), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    key = "Battery";
    int battery = SystemInfo(key).ToInt();
    EXPECT_TRUE((battery >= 0 && battery <= 100) || battery == 255) << battery;
    key = "weather";
    EXPECT_EQ(S(SystemInfo(key)), "NO_DATA");
    key = "GLEXT";
    EXPECT_EQ(S(SystemInfo(key)), "NO_DATA") << "the prefix needs its colon";
}

TEST(SystemInfo, IdIsEightHexDigitsStableBetweenRuns) {
    RtString key = "id";
    std::string id = S(SystemInfo(key));
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}"))) << id;
    std::string path = platform::TempDir() + "id.txt";
    EXPECT_EXIT(
        {
            RtString k = "ID";
            std::ofstream(path) << S(SystemInfo(k));
            std::exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(path), id) << "another process answers the same";
}

TEST(SystemInfo, GlextAsksTheContextAndLogsTheAnswer) {
    StartRuntime();
    RtString key = "glext:glActiveTextureARB";
    EXPECT_EQ(S(SystemInfo(key)), "1");
    EXPECT_EQ(S(key), "GLEXT:GLACTIVETEXTUREARB");
    key = "GLEXT:glTmvInventedFunction";
    EXPECT_EQ(S(SystemInfo(key)), "0") << "the driver gives an address for any name; the answer must not";
    key = "GLEXT:glBegin";
    EXPECT_EQ(S(SystemInfo(key)), "1");
    std::string log = ReadLog();
    EXPECT_NE(log.find("ext: glActiveTextureARB                    [  OK]\r\n"), std::string::npos);
    EXPECT_NE(log.find("ext: glTmvInventedFunction                 [FAIL]\r\n"), std::string::npos);
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
    EXPECT_EQ(S(FileRequest(0, "Saves|*.sav;*.bak|All|*.*")), "/data/saves/slot 1.sav");
    EXPECT_EQ(platform::CurrentDir(), dir);
    EXPECT_EQ(ReadFile(args), "--file-selection\n--filename=" + dir +
                                  "/\n--save\n--confirm-overwrite\n"
                                  "--file-filter=Saves | *.sav *.bak\n--file-filter=All | *.*\n");
    EXPECT_FALSE(Device().fullScreen);

    WriteScript(bin + "/zenity", "exit 1");
    EXPECT_EQ(S(FileRequest(1, "")), "NO_FILE") << "cancelled";
    EXPECT_EQ(platform::CurrentDir(), dir);

    setenv("PATH", bin.c_str(), 1);
    unlink((bin + "/zenity").c_str());
    EXPECT_EQ(S(FileRequest(1, "")), "NO_FILE") << "no chooser installed";
    setenv("PATH", oldPath.c_str(), 1);
}
