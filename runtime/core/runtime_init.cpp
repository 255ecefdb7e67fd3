// The entry routine and RuntimeInit: everything between the process starting and the program's own
// main routine, in a fixed order.
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/video.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/subsystem_hooks.h"

#include <cstdlib>
#include <utility>

namespace {

// The command line as the program would have been given it: arguments after the program's name,
// separated by spaces, quoted where they hold a space.
RtString JoinArguments(int argc, char** argv) {
    RtString line;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (i > 1) line += " ";
        bool quote = arg.empty() || arg.find(' ') != std::string_view::npos;
        if (quote) line += "\"";
        line += RtString(arg);
        if (quote) line += "\"";
    }
    return line;
}

// Nothing after this step may run on a missing window: the program ends, with a failure status.
[[noreturn]] void StartFailed() {
    Runtime().fatalError = true;
    EndProgram();
}

// A program that leaves through exit() or by returning from main is cleaned up as EndProgram would,
// after the exit handlers registered later (its write-backs among them).
void CleanUpAtExit() {
    RuntimeState& rt = Runtime();
    if (std::exchange(rt.exiting, true)) return;
    RuntimeCleanup();
}

void SetClockOrigin() {
    RuntimeState& rt = Runtime();
    rt.frameNow = rt.framePrev = rt.startTime = ReadClockMs();
}

} // namespace

void CoreMain(int argc, char** argv, const char* title, void (*programMain)(), void (*configure)(RuntimeSettings&)) {
    CommandLine() = JoinArguments(argc, argv);
    Settings() = RuntimeSettings{};
    if (configure) configure(Settings());
    RuntimeInit(1, title);
    RuntimeState& rt = Runtime();
    rt.errorLine = rt.errorCode = rt.sourceLine = 0.0;
    programMain();
    EndProgram();
}

int RuntimeInit(int showCommand, const char* title) {
    RuntimeState& rt = Runtime();
    RuntimeSettings& settings = Settings();
    SubsystemHooks& hooks = Hooks();
    platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");
    rt.running = true;

    WriteErrorLog("Init GFX");
    if (!platform::VideoInit()) {
        WriteErrorLog(("Video start failed: " + platform::LastError()).c_str());
        StartFailed();
    }
    rt.device = std::make_unique<OpenGLVividoru>();
    OpenGLVividoru& device = *rt.device;
    // CreateWindow logs the system's reason when it fails.
    if (!device.CreateWindow(settings.screenWidth, settings.screenHeight, 0, settings.frameRate, settings.multisample))
        StartFailed();
    // Registered once the GL driver is loaded, so that it runs before the driver's own exit work.
    std::atexit(CleanUpAtExit);
    rt.window = device.window;
    rt.title = title;
    platform::SetWindowTitle(rt.window, title);

    WriteErrorLog("Init Input");
    if (hooks.createInput) hooks.createInput();
    WriteErrorLog("Init Sound");
    if (hooks.createSound) hooks.createSound();
    WriteErrorLog("Init Network");
    if (hooks.createNetwork) hooks.createNetwork();
    if (hooks.createEngine3D) hooks.createEngine3D();
    // The runtime clock counts from its first reading in this process, so it would give every run
    // the same seed: the seed is the system's millisecond clock, as the clock on Windows gave it.
    RndSeed(platform::SystemMilliseconds());

    WriteErrorLog("Init Window");
    if (settings.fullScreen)
        device.GoFullScreen();
    else
        device.PlaceWindowed();
    if (hooks.initInput) hooks.initInput(settings.captureMouse != 0);
    if (hooks.initSound) hooks.initSound();

    // Relative names ("tmv.ini", "menu.png") are found beside the program, wherever it was started.
    if (hooks.openArchives) hooks.openArchives(platform::ExecutablePath().c_str());
    platform::SetCurrentDir(platform::ProgramDir());

    SetClockOrigin();
    PresentFrame(device);
    SetViewport(0, 0, 0, 0);
    if (hooks.drawLoadingText) hooks.drawLoadingText();
    ShowScreen();

    rt.paused = false;
    SetClockOrigin();
    if (showCommand == 0) device.Hide();
    if (hooks.applyMouseMode) hooks.applyMouseMode();
    WriteErrorLog("Init Finalized");
    return 0;
}
