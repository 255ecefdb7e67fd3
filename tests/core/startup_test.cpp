// Start-up: the log it writes, the program's folder as current folder, the command line, the first
// window and its coordinates, and a window or display that cannot be had.
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/core/core.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>

// Started from another folder, the program works in its own, with a fresh clock and a fresh log.
TEST(StartUp, LogsEachStageInAFreshLogAndWorksInTheProgramsFolder) {
    std::ofstream(platform::TempDir() + "ErrorLog.txt") << "line of an earlier run\r\n";
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EXIT(
        {
            RuntimeInit(1, "TMV-Vedu");
            if (platform::CurrentDir() != platform::ProgramDir()) std::exit(3);
            std::exit(FrameTime() == 1.0 && ElapsedTime() >= 0 && ElapsedTime() < 1000 ? 0 : 4);
        },
        testing::ExitedWithCode(0), "");
    // Nothing of the earlier run, nothing but these lines, every one ending in CR LF.
    const std::regex expected("Init GFX\r\n(OpenGL Software Emulation\r\n)?"
                              "(ext: \\w[\\w ]{34}   \\[(  OK|FAIL)\\]\r\n){10,}"
                              "Init Input\r\nInit Sound\r\nInit Network\r\nInit Window\r\nInit Finalized\r\n");
    EXPECT_TRUE(std::regex_match(ReadLog(), expected)) << ReadLog();

    char program[] = "prog", spaced[] = "a b", empty[] = "", flag[] = "-tmv";
    char* argv[] = {program, spaced, empty, flag};
    auto programMain = [] { std::exit(CommandLine() == "\"a b\" \"\" -tmv" ? 0 : 3); };
    EXPECT_EXIT(CoreMain(4, argv, "TMV-Vedu", programMain, nullptr), testing::ExitedWithCode(0), "");
}

TEST(StartUp, FirstWindowIs640By480WithTheOriginAtTheTopLeftAndSixtyFrames) {
    StartRuntime();
    OpenGLVividoru& device = Device();
    int w = 0, h = 0;
    platform::ClientSize(device.window, w, h);
    EXPECT_EQ(w * 10000 + h, 6400480);
    EXPECT_EQ(device.width * 10000 + device.height, 6400480);
    EXPECT_EQ(platform::WindowTitle(device.window), "TMV-Vedu");
    EXPECT_FALSE(device.fullScreen);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glColor3ub(255, 0, 0);
    glRecti(0, 2, 2, 0); // wound like the runtime's own quads
    EXPECT_EQ(BackBufferPixel(0, 0), 0x0000FFu);
    EXPECT_EQ(BackBufferPixel(2, 2), 0u);
    EXPECT_EQ(BackBufferPixel(0, 479), 0u);
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

TEST(StartUp, HiddenStartKeepsRunningAndSwitchesToFullScreenAndBack) {
    EXPECT_EXIT(
        {
            RuntimeInit(0, "TMV-Vedu");
            bool hidden = SDL_GetWindowFlags(Runtime().window) & SDL_WINDOW_HIDDEN;
            ShowScreen();
            SetScreen(800, 600, 1);
            OpenGLVividoru& device = Device();
            bool full = device.fullScreen && device.width == 800 && device.viewportWidth == 800 &&
                        (SDL_GetWindowFlags(device.window) & SDL_WINDOW_FULLSCREEN);
            SetScreen(640, 480, 0);
            int w = 0;
            int h = 0;
            platform::ClientSize(device.window, w, h);
            bool windowed = !device.fullScreen && w == 640 && h == 480 && Settings().fullScreen == 0;
            std::exit(!hidden ? 3 : !full ? 4 : !windowed ? 5 : 0);
        },
        testing::ExitedWithCode(0), "");
}
