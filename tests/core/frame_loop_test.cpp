// The frame loop: pause on focus loss, the quit keys, the close box, pacing bookkeeping.
#include "platform/video.h"
#include "runtime/core/core.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <utility>

TEST(FrameLoop, LosingFocusPausesAndRegainingItRestoresTheTitle) {
    StartRuntime();
    RuntimeState& rt = Runtime();
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    ShowScreen();
    EXPECT_TRUE(rt.paused);
    EXPECT_EQ(platform::WindowTitle(rt.window), "TMV-Vedu <pause>");

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    double before = ReadClockMs();
    ShowScreen();
    EXPECT_GE(ReadClockMs() - before, 100.0) << "the paused loop idles before going on";
    EXPECT_FALSE(rt.paused);
    EXPECT_EQ(platform::WindowTitle(rt.window), "TMV-Vedu");
}

TEST(FrameLoop, MissedFramePeriodsAreSkipped) {
    StartRuntime();
    OpenGLVividoru& device = Device();
    device.nextFrameTime = ReadClockMs() - 1000;
    double spent = PresentFrame(device);
    double now = ReadClockMs();
    EXPECT_GE(spent, 1.0);
    EXPECT_GT(device.nextFrameTime, now - device.framePeriod);
    EXPECT_LE(device.nextFrameTime, now + device.framePeriod);
}

namespace {

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

} // namespace

// The wait for the next frame sleeps: polling through it would burn a core while the program idles.
// What presenting itself costs is taken from frames released at once.
TEST(FrameLoop, PacedFramesRestAndNoneLeavesEarly) {
    StartRuntime();
    LimitFps(60);
    OpenGLVividoru& device = Device();
    constexpr int kFrames = 24;
    double cpuStart = ThreadCpuMs();
    for (int frame = 0; frame < kFrames; ++frame) {
        device.nextFrameTime = ReadClockMs() - 1;
        PresentFrame(device);
    }
    double presenting = ThreadCpuMs() - cpuStart;
    PresentFrame(device);
    double wallStart = ReadClockMs();
    cpuStart = ThreadCpuMs();
    for (int frame = 0; frame < kFrames; ++frame) {
        double deadline = device.nextFrameTime;
        PresentFrame(device);
        EXPECT_GT(ReadClockMs(), deadline) << "frame " << frame;
    }
    double wall = ReadClockMs() - wallStart;
    double waiting = ThreadCpuMs() - cpuStart - presenting;
    EXPECT_GE(wall, (kFrames - 1) * 1000.0 / 60);
    EXPECT_LT(waiting, wall / 20) << "CPU " << waiting << " ms while waiting through " << wall << " ms";
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
    }

    StartRuntime();
    Runtime().escapeQuits = false;
    PushKey(SDL_SCANCODE_ESCAPE, true);
    ShowScreen();
    EXPECT_TRUE(Runtime().running) << "escape switched off";
    PushKey(SDL_SCANCODE_ESCAPE, false);
    ShowScreen();
    Runtime().escapeQuits = true;
}
