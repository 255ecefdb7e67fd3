// Start-up: the log it writes, the extensions it binds, the program's folder as current folder, the
// command line, the first window, its coordinates and viewports, and a window or display that cannot be had.
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <tuple>
#include <vector>

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
    int w = 0, h = 0;
    platform::ClientSize(device.window, w, h);
    EXPECT_EQ(std::vector<int>({w, h, device.width, device.height}), std::vector<int>({640, 480, 640, 480}));
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
