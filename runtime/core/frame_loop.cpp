// The frame loop: ShowScreen, presentation and pacing, the event pump, the window procedure, and the
// clock queries.
#include "platform/clock.h"
#include "platform/events.h"
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/gl_state.h"
#include "runtime/core/number_convert.h"
#include "runtime/core/shown_picture.h"
#include "runtime/core/subsystem_hooks.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kEscape = 1;
constexpr int kEscapeAlternate = 129; // tested beside Escape; no key of a Linux keyboard gives it
constexpr int kLeftAlt = 56;
constexpr int kF4 = 62;

void CheckQuitKeys() {
    if (Runtime().escapeQuits && (platform::KeyDown(kEscape) || platform::KeyDown(kEscapeAlternate))) EndProgram();
    if (platform::KeyDown(kLeftAlt) && platform::KeyDown(kF4)) EndProgram();
}

// A run nobody watches shows its frame in a picture file instead, then ends.
void SaveHeadlessShot() {
    const RtString& path = Settings().headlessShotPath;
    bool saved = Hooks().saveScreen && Hooks().saveScreen(path);
    std::string shown(path.view());
    if (!shown.starts_with("/")) shown = platform::CurrentDir() + "/" + shown;
    std::printf("%s\n", saved ? shown.c_str() : "screenshot could not be saved");
    EndProgram();
}

} // namespace

double ReadClockMs() {
    RuntimeState& rt = Runtime();
    if (rt.clockIsCounter) return static_cast<double>(platform::Counter()) * 1000.0 / rt.counterFrequency;
    return platform::Milliseconds();
}

double ElapsedTime() { return ReadClockMs() - Runtime().startTime; }

double FrameTime() {
    RuntimeState& rt = Runtime();
    double d = rt.frameNow - rt.framePrev;
    return d > 0 ? d : 1.0;
}

void LimitFps(double framesPerSecond) {
    int32_t fps = NumberToInt(framesPerSecond);
    Device().framePeriod = fps > 0 ? 1000.0 / fps : 2.0;
}

int PumpMessages(OpenGLVividoru&) {
    platform::Event event;
    while (platform::PollEvent(event)) RuntimeWindowProc(event);
    return 1;
}

long RuntimeWindowProc(const platform::Event& event) {
    RuntimeState& rt = Runtime();
    bool pauses = !Settings().debugMode && rt.running;
    switch (event.type) {
    case platform::EventType::Close:
        EndProgram();
    case platform::EventType::FocusLost:
        if (pauses) {
            platform::SetWindowTitle(rt.window, (rt.title + " <pause>").c_str());
            rt.paused = true;
        }
        return 0;
    case platform::EventType::FocusGained:
        if (pauses) {
            platform::SetWindowTitle(rt.window, rt.title.c_str());
            rt.paused = false;
        }
        return 0;
    case platform::EventType::Exposed:
        if (rt.device) rt.device->shown.lost = true;
        return 0;
    case platform::EventType::Other:
        break;
    }
    return 0;
}

namespace {

constexpr double kLeastWakeMargin = 0.2;
constexpr double kMostWakeMargin = 0.5;

// Sleeps to wakeMargin before the deadline; the margin follows the latest wake-up delays and decays
// slowly back, so one late wake-up makes the next frames spin a little longer instead of leaving late.
void SleepTowards(OpenGLVividoru& device, double now) {
    double wakeAt = device.nextFrameTime - device.wakeMargin;
    if (wakeAt <= now) return;
    platform::SleepMs(wakeAt - now);
    double overslept = ReadClockMs() - wakeAt;
    double margin = std::max(overslept + 0.1, device.wakeMargin * 0.98);
    device.wakeMargin = std::clamp(margin, kLeastWakeMargin, kMostWakeMargin);
}

// Sleeps through the period on the high-resolution clock and polls only the last fraction of a
// millisecond: the frame is released on the first clock reading past the deadline, at little CPU.
// Returns the clock reading that released it.
double PaceFrame(OpenGLVividoru& device) {
    double now;
    do {
        PumpMessages(device);
        SleepTowards(device, ReadClockMs());
        now = ReadClockMs();
    } while (now <= device.nextFrameTime);
    device.nextFrameTime += device.framePeriod;
    // Missed periods are skipped, not caught up.
    if (device.framePeriod > 0)
        while (device.nextFrameTime < now) device.nextFrameTime += device.framePeriod;
    return now;
}

// ShowScreen's steps before the frame is shown: the headless screenshot (when the back buffer holds
// a picture), the clock, the pause, the input, the quit keys, the stencil pass and the music.
void EndFrameInput(bool pictureDrawn) {
    RuntimeState& rt = Runtime();
    SubsystemHooks& hooks = Hooks();
    OpenGLVividoru& device = Device();
    double shotMs = Settings().headlessShotMs;
    if (pictureDrawn && shotMs > 0 && platform::Headless() && ElapsedTime() > shotMs) SaveHeadlessShot();
    if (Settings().debugMode) {
        platform::ShowWindow(rt.window);
        platform::RaiseWindow(rt.window);
    }
    rt.framePrev = rt.frameNow;
    rt.frameNow = ReadClockMs();
    while (rt.paused) {
        if (hooks.musicUpkeep) hooks.musicUpkeep();
        PumpMessages(device);
        platform::SleepMs(100);
    }
    // The input update reads the devices; without one, the quit keys still need their latest state.
    if (hooks.updateInput)
        hooks.updateInput();
    else
        platform::ReadDevices();
    CheckQuitKeys();
    if (hooks.leaveStencilMode) hooks.leaveStencilMode();
    if (hooks.musicUpkeep) hooks.musicUpkeep();
    PumpMessages(device);
}

} // namespace

double PresentFrame(OpenGLVividoru& device) {
    if (Hooks().finishScreen) Hooks().finishScreen();
    GlFlushQuads();
    CopyShownPicture(device);
    // Cleared before the swap: an expose that comes while this frame waits asks for the next one.
    device.shown.lost = false;
    device.shown.inBackBuffer = false;
    ++device.shown.framesShown;
    platform::SwapWindow(device.window);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    double start = ReadClockMs();
    double now = PaceFrame(device);
    return (now - start) + 1.0;
}

void ShowScreen() {
    SubsystemHooks& hooks = Hooks();
    OpenGLVividoru& device = Device();
    EndFrameInput(true);
    PresentFrame(device);
    if (hooks.resetFrameDrawing) hooks.resetFrameDrawing();
    SetViewport(0, 0, 0, 0);
    if (hooks.resetEngine3DFrame) hooks.resetEngine3DFrame();
}

// The picture goes back into the back buffer first, so that the screenshots of this frame show what
// is on screen. The per-frame drawing state needs no reset: nothing was drawn.
void KeepScreen() {
    OpenGLVividoru& device = Device();
    if (Hooks().finishScreen) Hooks().finishScreen();
    bool restored = RestoreShownPicture(device);
    if (!restored) device.shown.lost = true;
    EndFrameInput(restored);
    PaceFrame(device);
    SetViewport(0, 0, 0, 0);
    if (Hooks().resetEngine3DFrame) Hooks().resetEngine3DFrame();
}

double ScreenNeedsDrawing() { return Device().shown.lost ? 1 : 0; }
