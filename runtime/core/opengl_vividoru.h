// OpenGLVividoru: the graphics device, owner of the window, the GL context and the frame pacing.
#pragma once

#include "platform/video.h"

#include <cstdint>

struct SDL_Window;

// The picture on screen, for frames ended with KeepScreen: once a program ends one that way, every
// shown frame is copied first, so that the back buffer can hold the shown picture again.
struct ShownPicture {
    bool lost = true;     // nothing current on screen: the window just opened, was exposed or resized
    bool copying = false; // a frame was ended with KeepScreen
    uint32_t texture = 0;
    int32_t width = 0; // of the copy; 0: none
    int32_t height = 0;
    bool inBackBuffer = false; // put back by KeepScreen, nothing drawn over it since
    int64_t framesShown = 0;
};

class OpenGLVividoru {
  public:
    // Probes the clock source into the runtime state.
    OpenGLVividoru();
    virtual ~OpenGLVividoru();

    // Window and context, shown and ready for 2D drawing; false with a log line when either fails.
    bool CreateWindow(int32_t width, int32_t height, int32_t depth, int32_t framesPerSecond, int32_t multisample);
    int PlaceWindowed();
    // Falls back to windowed (with a log line) when the display cannot take the mode.
    int GoFullScreen();
    int Hide();
    int Resize(int32_t width, int32_t height, int32_t depth, int32_t fullScreenFlag);
    void DestroyWindow();

    SDL_Window* window = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    bool fullScreen = false;
    bool multisampled = false; // the window's back buffer has samples: it cannot be copied
    int32_t viewportX = 0;
    int32_t viewportY = 0;
    int32_t viewportWidth = 0;
    int32_t viewportHeight = 0;
    bool contextReady = false;
    platform::GlContext glContext = nullptr;
    double framePeriod = 0;
    double nextFrameTime = 0;
    // How long before the deadline the pacing sleep ends, learnt from how late sleeps wake: short on a
    // quiet machine, longer on a busy one so frames still leave on time.
    double wakeMargin = 0.5;
    ShownPicture shown;

  private:
    bool OpenMultisampled();
    void WarnIfSoftware();
};
