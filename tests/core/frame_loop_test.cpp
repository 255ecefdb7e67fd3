// The frame loop: pause on focus loss, the quit keys, the close box, pacing, and kept frames.
#include "platform/video.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

std::vector<uint32_t> Corners() {
    return {BackBufferPixel(0, 0), BackBufferPixel(639, 479), BackBufferPixel(0, 479), BackBufferPixel(639, 0)};
}

} // namespace

TEST(FrameLoop, LosingFocusPausesAndRegainingItRestoresTheTitle) {
    StartRuntime();
    RuntimeState& rt = Runtime();
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    ShowScreen();
    EXPECT_TRUE(rt.paused);
    EXPECT_EQ(platform::WindowTitle(rt.window), "TMV-Vedu <pause>");

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ShowScreen();
    EXPECT_FALSE(rt.paused);
    EXPECT_EQ(platform::WindowTitle(rt.window), "TMV-Vedu");
}

// Missed periods are skipped, not caught up; a paced frame never leaves before its time. (How long and
// at what cost it waits is measured in bench/core/frame_bench.cpp.)
TEST(FrameLoop, PacedFramesNeverLeaveEarlyAndMissedPeriodsAreSkipped) {
    StartRuntime();
    LimitFps(200);
    OpenGLVividoru& device = Device();
    device.nextFrameTime = ReadClockMs() - 1000;
    EXPECT_GE(PresentFrame(device), 1.0);
    EXPECT_NEAR(device.nextFrameTime, ReadClockMs(), device.framePeriod);
    for (int frame = 0; frame < 10; ++frame) {
        double deadline = device.nextFrameTime;
        PresentFrame(device);
        EXPECT_GT(ReadClockMs(), deadline) << "frame " << frame;
    }
    LimitFps(60);
}

// A kept frame shows the last shown picture again, upright, from the first kept frame's next copy on;
// an expose asks for a drawn one.
TEST(FrameLoop, KeptFramesShowTheLastShownPicture) {
    StartRuntime();
    KeepScreen();
    EXPECT_EQ(ScreenNeedsDrawing(), 1) << "nothing was copied yet";
    GlEnableTexture(0, false);
    glColor3ub(255, 0, 0);
    glRecti(0, 2, 2, 0);
    glColor3ub(0, 255, 0);
    glRecti(638, 480, 640, 478);
    ShowScreen();
    EXPECT_EQ(Corners(), std::vector<uint32_t>(4, 0)) << "shown frames leave a cleared back buffer";
    KeepScreen();
    KeepScreen();
    EXPECT_EQ(ScreenNeedsDrawing(), 0) << "kept twice, the picture is in the back buffer already";
    EXPECT_EQ(Corners(), (std::vector<uint32_t>{0xFF, 0xFF00, 0, 0}));
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    KeepScreen();
    EXPECT_EQ(ScreenNeedsDrawing(), 1);
    ShowScreen();
}

TEST(FrameLoop, CloseBoxQuitEscapeAndLeftAltF4EndTheProgramWithZero) {
    const std::pair<const char*, void (*)()> ends[] = {
        {"close box while waiting for the frame",
         [] {
             LimitFps(1);
             ShowScreen();
             PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
             PresentFrame(Device());
             std::exit(3); // the following ShowScreen must not be the one that ends
         }},
        {"quit event", [] { PushQuit(); }},
        {"escape", [] { PushKey(SDL_SCANCODE_ESCAPE, true); }},
        {"left Alt+F4 with escape switched off",
         [] {
             Runtime().escapeQuits = false;
             PushKey(SDL_SCANCODE_LALT, true);
             PushKey(SDL_SCANCODE_F4, true);
         }},
    };
    for (auto [what, act] : ends) {
        EXPECT_EXIT(
            {
                StartRuntime();
                act();
                ShowScreen();
                std::exit(3);
            },
            testing::ExitedWithCode(0), "")
            << what;
    }}
