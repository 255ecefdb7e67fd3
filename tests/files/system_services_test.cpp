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

std::string Info(const char* key) {
    RtString upperCased = key;
    return S(SystemInfo(upperCased));
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
    std::string dir = ElsewhereDir();
    ASSERT_TRUE(platform::SetCurrentDir(dir));
    double code = -5;
    EXPECT_EQ(ProcessRun("exit_with 7", 0, 1, code), 1);
    EXPECT_EQ(code, 0) << "without waiting the exit code stays 0";
    // 259 (still active) is only the status a Linux program can give; a signal reports 128 + its number.
    const std::pair<RtString, double> runs[] = {{"exit_with 255", 255},
                                                {"exit_with 259", 259 & 0xFF},
                                                {"exit_with kill", 128 + 9},
                                                {"\"" + RtString(ProgramDir().c_str()) + "/exit_with\" 3", 3}};
    for (const auto& [line, expected] : runs) {
        EXPECT_EQ(ProcessRun(line, 1, 0, code), 1) << line.c_str();
        EXPECT_EQ(code, expected) << line.c_str();
    }
    code = -5;
    EXPECT_EQ(ProcessRun("no_such_program_tmv 1", 1, 1, code), 0);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(ProcessRun("   ", 1, 1, code), 0);

    std::string out = platform::TempDir() + "args.txt";
    RtString line = RtString(("print_args " + out + R"( "two words" plain "say \"hi\"" a\b "" end\\")").c_str());
    ASSERT_EQ(ProcessRun(line, 1, 1, code), 1);
    EXPECT_EQ(ReadFile(out), dir + "\ntwo words\nplain\nsay \"hi\"\na\\b\n\nend\\\n")
        << "started in the caller's folder, though found beside the test program";
    WriteScript(dir + "/local_tool", "exit 12");
    EXPECT_EQ(ProcessRun("local_tool", 1, 1, code), 1);
    EXPECT_EQ(code, 12) << "the current folder is searched too";
    std::ofstream(dir + "/not_a_program") << "plain text";
    chmod((dir + "/not_a_program").c_str(), 0700);
    EXPECT_EQ(ProcessRun("not_a_program", 1, 1, code), 0) << "found, but the system cannot start it";
}

TEST(LibraryBind, EachModuleLoadsOnceUnderItsLowerCaseNameAndAMissingOneIsReported) {
    ASSERT_TRUE(platform::SetCurrentDir(ProgramDir()));
    size_t before = Libraries().names.size();
    RtString upper = "./LIBTMVSAMPLE.SO", lower = "./libtmvsample.so", mixed = "./libTmvMixed.so";
    void* f = Bind(upper, "TmvSampleAnswer");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(reinterpret_cast<int (*)()>(f)(), 42);
    EXPECT_EQ(S(upper), "./libtmvsample.so");
    EXPECT_EQ(Bind(lower, "TmvSampleAnswer"), f);
    EXPECT_EQ(Libraries().names.size(), before + 1) << "loaded once";
    EXPECT_EQ(Bind(lower, "tmvsampleanswer"), nullptr) << "function names keep their case";
    // The file's own name has capitals: it is loaded as written, cached in lower case.
    EXPECT_NE(Bind(mixed, "TmvSampleAnswer"), nullptr);
    EXPECT_EQ(S(mixed), "./libtmvmixed.so");
    EXPECT_EQ(S(Libraries().names.back()), "./libtmvmixed.so");
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
    EXPECT_EQ(Info(""), "LINUX");
    RtString key = "device";
    EXPECT_EQ(S(SystemInfo(key)), "DESKTOP");
    EXPECT_EQ(S(key), "DEVICE");
    EXPECT_TRUE(std::regex_match(Info("time"), std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
    int battery = std::stoi(Info("Battery"));
    EXPECT_TRUE((battery >= 0 && battery <= 100) || battery == 255) << battery;
    EXPECT_EQ(Info("weather"), "NO_DATA");
    EXPECT_EQ(Info("GLEXT"), "NO_DATA") << "the prefix needs its colon";

    EXPECT_EQ(Info("glext:glActiveTextureARB"), "1");
    EXPECT_EQ(Info("GLEXT:glTmvInventedFunction"), "0") << "the driver gives an address for any name";
    EXPECT_EQ(Info("GLEXT:glBegin"), "1");
    std::string log = ReadLog();
    EXPECT_NE(log.find("ext: glActiveTextureARB                    [  OK]\r\n"), std::string::npos);
    EXPECT_NE(log.find("ext: glTmvInventedFunction                 [FAIL]\r\n"), std::string::npos);

    std::string id = Info("id"), path = platform::TempDir() + "id.txt";
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9A-F]{8}"))) << id;
    EXPECT_EXIT((std::ofstream(path) << Info("ID") << std::flush, std::exit(0)), testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadFile(path), id) << "another process answers the same";
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
