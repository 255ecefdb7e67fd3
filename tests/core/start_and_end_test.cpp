// Start-up and program end: the log, the extensions bound, the program's folder as current folder, the
// command line, the first window, its coordinates and viewports, a window or display that cannot be had;
// the debug report, the order of clean-up and end work, exit status, the log's retries and the links it
// refuses, call by name.
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/subsystem_hooks.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/file.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

std::string LogAfterStart() {
    std::string log = ReadLog(), marker = "Init Finalized\r\n";
    size_t at = log.find(marker);
    return at == std::string::npos ? "<no start>" : log.substr(at + marker.size());
}

int gCalls = 0;
const CallByNameEntry kTable[] = {{[] { ++gCalls; }, "__KYgui_Helpers___"}, {nullptr, nullptr}};

} // namespace

// Started from another folder, the program works in its own, with a fresh clock and a fresh log. An
// extension the driver leaves out stays unbound though the driver hands out an address for it.
TEST(StartUp, LogsEachStageInAFreshLogBindsOfferedExtensionsAndWorksInTheProgramsFolder) {
    std::ofstream(platform::TempDir() + "ErrorLog.txt") << "line of an earlier run\r\n";
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EXIT(
        {
            setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_vertex_program", 1);
            RuntimeInit(1, "TMV-Vedu");
            if (platform::CurrentDir() != platform::ProgramDir()) std::exit(3);
            bool found = HasGlExtension("GL_ARB_multitexture") && !HasGlExtension("GL_ARB_multi") &&
                         !HasGlExtension("ARB_multitexture") && !HasGlExtension("GL_ARB_vertex_program");
            bool bound = GlExt().glActiveTextureARB && !GlExt().glVertexAttrib1fARB;
            std::exit(!found || !bound ? 4 : FrameTime() == 1.0 && ElapsedTime() >= 0 && ElapsedTime() < 1000 ? 0 : 5);
        },
        testing::ExitedWithCode(0), "");
    // Nothing of the earlier run, nothing but these lines, every one ending in CR LF.
    const std::regex expected("Init GFX\r\n(OpenGL Software Emulation\r\n)?"
                              "(ext: \\w[\\w ]{34}   \\[(  OK|FAIL)\\]\r\n){10,}"
                              "Init Input\r\nInit Sound\r\nInit Network\r\nInit Window\r\nInit Finalized\r\n");
    EXPECT_TRUE(std::regex_match(ReadLog(), expected)) << ReadLog();
    EXPECT_NE(ReadLog().find("ext: glVertexAttrib1fARB                   [FAIL]"), std::string::npos) << ReadLog();

    char program[] = "prog", spaced[] = "a b", empty[] = "", flag[] = "-tmv";
    char* argv[] = {program, spaced, empty, flag};
    auto programMain = [] { std::exit(CommandLine() == "\"a b\" \"\" -tmv" ? 0 : 3); };
    EXPECT_EXIT(CoreMain(4, argv, "TMV-Vedu", programMain, nullptr), testing::ExitedWithCode(0), "");
}

// Viewports count from the screen's top-left; one of no size is the whole screen.
TEST(StartUp, FirstWindowIs640By480WithTheOriginAtTheTopLeftAndSixtyFrames) {
    StartRuntime();
    OpenGLVividoru& device = Device();
    for (auto [x, y, size] : {std::tuple(0, 0, 0), {30, 20, 1}}) {
        SetViewport(x, y, size, size);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        glColor3ub(255, 0, 0);
        glRecti(0, 2, 2, 0); // wound like the runtime's own quads
        EXPECT_EQ(std::vector<uint32_t>({BackBufferPixel(x, y), BackBufferPixel(x + 2, y + 2),
                                         BackBufferPixel(x, 479 - y), BackBufferPixel(x + size, y)}),
                  std::vector<uint32_t>({0xFF, 0, 0, size ? 0u : 0xFFu}))
            << x;
    }
    SetViewport(0, 0, 0, 0);

    // Frame pacing: 60 a second at first, 2 ms where none is asked for, whole frames a second.
    EXPECT_NEAR(device.framePeriod, 1000.0 / 60, 1e-9);
    const std::pair<double, double> periods[] = {{0, 2}, {-5, 2}, {30.9, 1000.0 / 30}, {499.5, 1000.0 / 499}};
    for (auto [fps, period] : periods) {
        LimitFps(fps);
        EXPECT_NEAR(device.framePeriod, period, 1e-9) << fps;
    }
    LimitFps(60);
}

TEST(StartUp, AWindowThatCannotBeMadeEndsWithAReasonAMissingDisplayRunsOffscreen) {
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
            RuntimeInit(1, "TMV-Vedu");
            std::exit(0);
        },
        testing::ExitedWithCode(1), "");
    std::string log = ReadLog();
    EXPECT_NE(log.find("Init GFX\r\nVideo start failed: "), std::string::npos) << log;
    EXPECT_EQ(log.find("Init Input"), std::string::npos);
    EXPECT_EXIT(
        {
            unsetenv("SDL_VIDEODRIVER");
            unsetenv("WAYLAND_DISPLAY");
            setenv("DISPLAY", ":77", 1);
            RuntimeInit(1, "TMV-Vedu");
            std::exit(platform::Headless() ? 0 : 2);
        },
        testing::ExitedWithCode(0), "Could not open the display :77 \\(.*\\); running offscreen\n");
}

// A new screen mode shows five frames to settle before the program draws again.
TEST(StartUp, HiddenStartKeepsRunningAndSwitchesToFullScreenAndBack) {
    EXPECT_EXIT(
        {
            RuntimeInit(0, "TMV-Vedu");
            bool hidden = SDL_GetWindowFlags(Runtime().window) & SDL_WINDOW_HIDDEN;
            OpenGLVividoru& device = Device();
            int64_t before = device.shown.framesShown;
            SetScreen(800, 600, 1);
            bool full = device.fullScreen && device.width == 800 && device.viewportWidth == 800 &&
                        (SDL_GetWindowFlags(device.window) & SDL_WINDOW_FULLSCREEN) &&
                        device.shown.framesShown == before + 5;
            SetScreen(640, 480, 0);
            int w = 0;
            int h = 0;
            platform::ClientSize(device.window, w, h);
            bool windowed = !device.fullScreen && w == 640 && h == 480 && Settings().fullScreen == 0;
            std::exit(!hidden ? 3 : !full ? 4 : !windowed ? 5 : 0);
        },
        testing::ExitedWithCode(0), "");
}

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

// A link receives nothing.
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
}

TEST(ProgramEnd, CallByNameCallsKnownNamesOnly) {
    Runtime().callByName = kTable;
    EXPECT_EQ(CallByName("__KYgui_Helpers___") + CallByName("__KYgui_Helpers__"), 1.0);
    EXPECT_EQ(gCalls, 1);
    Runtime().callByName = nullptr;
}
