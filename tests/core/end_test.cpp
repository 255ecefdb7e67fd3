// Program end: the debug report, the order of clean-up and end work, exit status, the log's retries
// and the files it refuses, call by name.
#include "platform/paths.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/subsystem_hooks.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string LogAfterStart() {
    std::string log = ReadLog(), marker = "Init Finalized\r\n";
    size_t at = log.find(marker);
    return at == std::string::npos ? "<no start>" : log.substr(at + marker.size());
}

int gCalls = 0;
const CallByNameEntry kTable[] = {{[] { ++gCalls; }, "__KYgui_Helpers___"}, {nullptr, nullptr}};

} // namespace

// The status is the error's code, and one beyond what a status holds still reports a failure.
TEST(ProgramEnd, AFatalErrorSaysWhatAndWhereOnlyDebugModeWritesTheEndReport) {
    EXPECT_EXIT(
        {
            Settings().debugMode = 1;
            StartRuntime();
            SetSourcePosition(2, 17);
            RuntimeError(9);
        },
        testing::ExitedWithCode(9), "^Runtime error 9: array index outside the array \\(module 2, line 17\\)\n$");
    EXPECT_EQ(LogAfterStart(), "Runtime error 9: array index outside the array (module 2, line 17)\r\n"
                               "-End On Line\r\n9\r\n16\r\n17\r\n2\r\n");
    EXPECT_EXIT(
        {
            StartRuntime();
            SetSourcePosition(1, 5);
            EndCommand();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(LogAfterStart(), "");
    EXPECT_EXIT(RuntimeError(300, "custom", "subject"), testing::ExitedWithCode(255),
                "^Runtime error 300: custom: subject\n$");
}

// An end entered again from inside a step neither repeats nor skips any step.
TEST(ProgramEnd, CleanUpRunsInItsOrderThenTheEndWorkOnce) {
    EXPECT_EXIT(
        {
            SubsystemHooks& h = Hooks();
            h.closeFiles = [] { WriteErrorLog("close files"); };
            h.stopMusic = [] { WriteErrorLog("stop music"); };
            h.releaseTextures = [] { WriteErrorLog("release textures"); };
            h.destroySound = [] {
                WriteErrorLog("destroy sound");
                EndProgram();
            };
            h.destroyArchives = [] { WriteErrorLog("destroy archives"); };
            StartRuntime();
            RegisterExitHandler([] { WriteErrorLog("write back INI"); });
            RegisterExitHandler([] { WriteErrorLog("free libraries"); });
            EndProgram();
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(LogAfterStart(), "close files\r\nstop music\r\nrelease textures\r\ndestroy sound\r\ndestroy archives\r\n"
                               "free libraries\r\nwrite back INI\r\n");
}

// A link, a FIFO, or another user's file in a shared folder (only root can
// make one here) receives nothing, and nothing blocks.
TEST(ProgramEnd, LogDropsALineAfterFiveTriesAndWritesOnlyIntoAFileOfItsOwn) {
    std::string path = platform::TempDir() + "ErrorLog.txt", target = platform::TempDir() + "elsewhere.txt";
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_EQ(flock(fd, LOCK_EX), 0);
    WriteErrorLog("lost");
    close(fd);
    WriteErrorLog(nullptr);
    EXPECT_EQ(ReadLog(), "NULL\r\n");
    unlink(path.c_str());
    ASSERT_EQ(symlink(target.c_str(), path.c_str()), 0);
    WriteErrorLog("must not arrive");
    EXPECT_EQ(access(target.c_str(), F_OK), -1);
    unlink(path.c_str());
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    int reader = open(path.c_str(), O_RDONLY | O_NONBLOCK);
    WriteErrorLog("must not arrive");
    char byte;
    EXPECT_EQ(read(reader, &byte, 1), 0);
    close(reader);
    unlink(path.c_str());
    std::ofstream(path) << "theirs";
    if (chown(path.c_str(), 65534, 65534) == 0) WriteErrorLog("must not arrive");
    EXPECT_EQ(ReadLog(), "theirs");
}

TEST(ProgramEnd, CallByNameCallsKnownNamesOnly) {
    Runtime().callByName = kTable;
    EXPECT_EQ(CallByName("__KYgui_Helpers___") + CallByName("__KYgui_Helpers__"), 1.0);
    EXPECT_EQ(gCalls, 1);
    Runtime().callByName = nullptr;
}
