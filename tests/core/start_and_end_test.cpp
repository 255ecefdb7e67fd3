// Start-up and program end: the log, the extensions bound, the program's folder as current folder, the
// command line, a hidden start and screen switches; the debug report, the order of clean-up and end
// work, exit status.
#include "platform/paths.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/subsystem_hooks.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <unistd.h>

namespace {

std::string LogAfterStart() {
    std::string log = ReadLog(), marker = "Init Finalized\r\n";
    size_t at = log.find(marker);
    return at == std::string::npos ? "<no start>" : log.substr(at + marker.size());
}

} // namespace

// Started from another folder, the program works in its own, with a fresh clock and a fresh log, and
// multisampled when asked. An extension the driver leaves out stays unbound though the driver hands out
// an address for it; a function the driver has no address for, or of a GL version past the context's
// (3.0 here), is not offered.
TEST(StartUp, LogsEachStageInAFreshLogBindsOfferedExtensionsAndWorksInTheProgramsFolder) {
    std::ofstream(platform::TempDir() + "ErrorLog.txt") << "line of an earlier run\r\n";
    ASSERT_EQ(chdir("/"), 0);
    EXPECT_EXIT(
        {
            setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_vertex_program", 1);
            setenv("MESA_GL_VERSION_OVERRIDE", "3.0", 1);
            Settings().multisample = 1;
            Settings().frameRate = 0; // no limit: a frame every 2 ms at most
            RuntimeInit(1, "TMV-Vedu");
            if (platform::CurrentDir() != platform::ProgramDir()) std::exit(3);
            bool found = HasGlExtension("GL_ARB_multitexture") && !HasGlExtension("GL_ARB_multi") &&
                         !HasGlExtension("ARB_multitexture") && !HasGlExtension("GL_ARB_vertex_program") &&
                         GlEntryPointOffered("glActiveTextureARB") && !GlEntryPointOffered("tmvInventedFunction") &&
                         GlEntryPointOffered("glBeginConditionalRender") &&
                         !GlEntryPointOffered("glPrimitiveRestartIndex");
            bool bound = GlExt().glActiveTextureARB && !GlExt().glVertexAttrib1fARB;
            if (!found || !bound || FrameTime() != 1.0 || ElapsedTime() < 0 || ElapsedTime() >= 1000 ||
                Device().framePeriod != 2)
                std::exit(4);
            // A multisampled back buffer cannot be copied: kept frames ask for drawn ones.
            GLint samples = 0;
            glGetIntegerv(GL_SAMPLES, &samples);
            KeepScreen();
            ShowScreen();
            KeepScreen();
            std::exit(samples > 1 && ScreenNeedsDrawing() ? 0 : 5);
        },
        testing::ExitedWithCode(0), "");
    // Nothing of the earlier run, nothing but these lines, every one ending in CR LF.
    const std::regex expected("Init GFX\r\n(OpenGL Software Emulation\r\n)?"
                              "(ext: \\w[\\w ]{34}   \\[(  OK|FAIL)\\]\r\n){10,}"
                              "Init Input\r\nInit Sound\r\nInit Network\r\nInit Window\r\nInit Finalized\r\n");
    EXPECT_TRUE(std::regex_match(ReadLog(), expected)) << ReadLog();
    EXPECT_NE(ReadLog().find("ext: glVertexAttrib1fARB                   [FAIL]"), std::string::npos) << ReadLog();

    // A context the driver cannot give ends the start, saying why.
    EXPECT_EXIT((SDL_InitSubSystem(SDL_INIT_VIDEO), SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 9),
                 RuntimeInit(1, "TMV-Vedu")),
                testing::ExitedWithCode(1), "");
    EXPECT_NE(ReadLog().find("Init GFX\r\nOpenGL context creation failed: "), std::string::npos) << ReadLog();

    char program[] = "prog", spaced[] = "a b", empty[] = "", flag[] = "-tmv";
    char* argv[] = {program, spaced, empty, flag};
    auto programMain = [] { std::exit(CommandLine() == "\"a b\" \"\" -tmv" ? 0 : 3); };
    EXPECT_EXIT(CoreMain(4, argv, "TMV-Vedu", programMain, nullptr), testing::ExitedWithCode(0), "");
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
            bool windowed = !device.fullScreen && device.viewportWidth == 640 && Settings().fullScreen == 0;
            // Kept frames go on showing the picture at a new width of the same height.
            KeepScreen();
            ShowScreen();
            SetScreen(800, 480, 0);
            KeepScreen();
            KeepScreen();
            std::exit(!hidden ? 3 : !full ? 4 : !windowed ? 5 : ScreenNeedsDrawing());
        },
        testing::ExitedWithCode(0), "");
}

// The status is the error's code, and one beyond what a status holds still reports a failure.
TEST(ProgramEnd, AFatalErrorSaysWhatAndWhereOnlyDebugModeWritesTheEndReportCleanUpRunsInItsOrder) {
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

    // An end entered again from inside a step neither repeats nor skips any step.
    EXPECT_EXIT(
        {
            SubsystemHooks& h = Hooks();
            h.closeFiles = [] { WriteErrorLog("close files"); };
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
    EXPECT_EQ(LogAfterStart(), "close files\r\nrelease textures\r\ndestroy sound\r\ndestroy archives\r\n"
                               "free libraries\r\nwrite back INI\r\n");
}
