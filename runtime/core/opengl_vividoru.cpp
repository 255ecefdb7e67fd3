// The graphics device: window and context creation, windowed and full-screen placement, hiding,
// destruction.
#include "runtime/core/opengl_vividoru.h"

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/video.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/gl_state.h"
#include "runtime/core/subsystem_hooks.h"

#include <GL/gl.h>
#include <string>

namespace {

// The sample count asked for when a program wants multisampling; halved until the driver agrees.
constexpr int kMultisampleSamples = 4;

bool SoftwareRenderer(const std::string& renderer) {
    return renderer.find("llvmpipe") != std::string::npos || renderer.find("softpipe") != std::string::npos ||
           renderer.find("Software Rasterizer") != std::string::npos;
}

} // namespace

OpenGLVividoru::OpenGLVividoru() {
    RuntimeState& rt = Runtime();
    rt.counterFrequency = platform::CounterFrequency();
    rt.clockIsCounter = rt.counterFrequency > 0;
}

OpenGLVividoru::~OpenGLVividoru() {
    if (Hooks().finishScreen) Hooks().finishScreen();
    DestroyWindow();
    platform::DeleteContext(glContext);
    glContext = nullptr;
}

bool OpenGLVividoru::CreateWindow(int32_t w, int32_t h, int32_t bits, int32_t framesPerSecond, int32_t samples) {
    framePeriod = framesPerSecond > 0 ? 1000.0 / framesPerSecond : 2.0;
    window = platform::OpenWindow("Ravlin", w, h, 0);
    if (!window) {
        WriteErrorLog(("Window creation failed: " + platform::LastError()).c_str());
        return false;
    }
    depth = bits != 0 ? bits : platform::DesktopMode().bitsPerPixel;
    platform::ClientSize(window, width, height);
    if (!glContext) glContext = platform::CreateContext(window);
    if (!glContext || !platform::MakeCurrent(window, glContext)) {
        platform::DeleteContext(glContext);
        glContext = platform::CreateContext(window);
        if (!glContext || !platform::MakeCurrent(window, glContext)) {
            WriteErrorLog(("OpenGL context creation failed: " + platform::LastError()).c_str());
            platform::CloseWindow(window);
            window = nullptr;
            return false;
        }
    }
    multisampled = samples != 0 && OpenMultisampled();
    // A new context starts from GL's defaults, not from what the record remembers.
    GlForgetState();
    WarnIfSoftware();
    nextFrameTime = ReadClockMs();
    shown.lost = true;
    BindGlExtensions();
    platform::ShowWindow(window);
    SetViewport(0, 0, 0, 0);
    contextReady = true;
    return true;
}

// A second window with a multisampled format replaces the first when the driver offers one.
bool OpenGLVividoru::OpenMultisampled() {
    for (int samples = kMultisampleSamples; samples > 0; samples /= 2) {
        SDL_Window* candidate = platform::OpenWindow("Ravlin", width, height, samples);
        if (!candidate) continue;
        platform::GlContext context = platform::CreateContext(candidate);
        if (context && platform::MakeCurrent(candidate, context)) {
            platform::DeleteContext(glContext);
            platform::CloseWindow(window);
            window = candidate;
            glContext = context;
            return true;
        }
        platform::DeleteContext(context);
        platform::CloseWindow(candidate);
    }
    platform::MakeCurrent(window, glContext);
    return false;
}

void OpenGLVividoru::WarnIfSoftware() {
    GlExtensions& gl = GlExt();
    if (gl.softwareWarningShown) return;
    gl.softwareWarningShown = true;
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    gl.renderer = renderer ? renderer : "";
    if (!SoftwareRenderer(gl.renderer)) return;
    platform::ShowWarningBox("!!OpenGL Software Emulation!!", "Please update your GFX adapter's driver\n"
                                                              "so it can render OpenGL by HARDWARE\n"
                                                              "\n"
                                                              "\n"
                                                              "Bitte aktualisieren Sie Ihren\n"
                                                              "Grafkkartentreiber, damit er OpenGL\n"
                                                              "per HARDWARE unterstützt!");
    WriteErrorLog("OpenGL Software Emulation");
}

int OpenGLVividoru::PlaceWindowed() {
    if (fullScreen) {
        platform::LeaveFullscreen(window);
        platform::SleepMs(500);
    }
    platform::SetClientSize(window, width, height);
    platform::ShowWindow(window);
    platform::RaiseWindow(window);
    SetViewport(0, 0, 0, 0);
    fullScreen = false;
    return 1;
}

int OpenGLVividoru::GoFullScreen() {
    int desktopDepth = platform::DesktopMode().bitsPerPixel;
    bool withDepth = depth != 0 && depth != desktopDepth;
    bool ok = platform::EnterFullscreen(window, width, height, withDepth ? depth : 0) ||
              (withDepth && platform::EnterFullscreen(window, width, height, 0));
    if (!ok) {
        WriteErrorLog("No Fullscreen Mode available");
        return PlaceWindowed();
    }
    // SetViewport forgets the GL state the record remembers.
    SetViewport(0, 0, 0, 0);
    platform::ShowWindow(window);
    platform::RaiseWindow(window);
    fullScreen = true;
    return 1;
}

int OpenGLVividoru::Hide() {
    if (fullScreen) platform::LeaveFullscreen(window);
    platform::HideWindow(window);
    fullScreen = false;
    return 1;
}

int OpenGLVividoru::Resize(int32_t w, int32_t h, int32_t bits, int32_t fullScreenFlag) {
    shown.lost = true;
    if (w) width = w;
    if (h) height = h;
    if (bits) depth = bits;
    return fullScreenFlag ? GoFullScreen() : PlaceWindowed();
}

void OpenGLVividoru::DestroyWindow() {
    if (!window) return;
    // Quads not drawn yet belong to a frame that is never shown.
    GlForgetState();
    if (contextReady && Hooks().releaseTextures) Hooks().releaseTextures();
    if (contextReady) GlDeleteTexture(shown.texture);
    shown.width = shown.height = 0;
    shown.inBackBuffer = false;
    if (fullScreen) platform::LeaveFullscreen(window);
    fullScreen = false;
    platform::MakeCurrent(window, nullptr);
    platform::CloseWindow(window);
    window = nullptr;
    width = 0;
    height = 0;
    contextReady = false;
}

void SetScreen(int32_t width, int32_t height, int32_t fullScreen) {
    RuntimeSettings& settings = Settings();
    settings.screenWidth = width;
    settings.screenHeight = height;
    settings.fullScreen = fullScreen;
    Device().Resize(width, height, 0, fullScreen);
    if (Hooks().applyMouseMode) Hooks().applyMouseMode();
    // Let the new mode settle before the program draws again.
    for (int i = 0; i < 5; ++i) ShowScreen();
}
