// The window, its OpenGL context and the display modes, over SDL.
#include "platform/video.h"

#include "platform/events.h"

#include <SDL.h>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string_view>

namespace platform {

namespace {

// Mesa's software rasteriser takes tens of megabytes of 64 KB blocks from the heap for a frame's
// draws and frees them at every flush. Whether glibc then gives the heap's top back to the system
// depends on what was freed before; when it does, the next frame faults every page in again, which
// costs several times the drawing. Fixed limits: up to 64 MB stay free at the top, and blocks up to
// 32 MB come from the heap (setting one limit would leave the other at its 128 KB default).
void KeepFreedHeap() {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}

// The display the environment names, or null when it names none. An X display alone is asked of the
// X11 driver only: SDL would go on to Wayland, whose library prints its own complaint.
const char* RequestedDisplay() {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland) return wayland;
    const char* x11 = std::getenv("DISPLAY");
    if (!x11 || !*x11) return nullptr;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    return x11;
}

// One line, so that a stale DISPLAY does not silently give a program nobody can see.
void SayDisplayUnavailable(const char* display, const char* reason) {
    std::fprintf(stderr, "Could not open the display %s (%s); running offscreen\n", display, reason);
}

// Bits a pixel takes in memory, as Windows counts them: SDL calls XRGB8888 24 bits, Windows 32.
int StorageBits(uint32_t format) {
    int bytes = SDL_BYTESPERPIXEL(format);
    return bytes > 0 ? bytes * 8 : static_cast<int>(SDL_BITSPERPIXEL(format));
}

DisplayMode FromSdl(const SDL_DisplayMode& mode) {
    return {mode.w, mode.h, StorageBits(mode.format), mode.refresh_rate};
}

// "1280x1024x32@60", nothing before or after: a test's stand-in for what the system reports, since
// the offscreen driver and Xvfb know no refresh rates.
bool ParseMode(std::string_view text, DisplayMode& mode) {
    int* fields[] = {&mode.width, &mode.height, &mode.bitsPerPixel, &mode.refreshRate};
    const char separators[] = "xx@";
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && (at == end || *at++ != separators[i - 1])) return false;
        if (at == end || !std::isdigit(static_cast<unsigned char>(*at))) return false;
        auto [next, error] = std::from_chars(at, end, *fields[i]);
        if (error != std::errc()) return false;
        at = next;
    }
    return at == end;
}

} // namespace

bool VideoInit() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    KeepFreedHeap();
    // A machine without a screen still gets a real OpenGL context (Mesa) through the offscreen driver.
    const char* display = std::getenv("SDL_VIDEODRIVER") ? nullptr : RequestedDisplay();
    if (!std::getenv("SDL_VIDEODRIVER") && !display) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        if (!display) return false;
        SayDisplayUnavailable(display, SDL_GetError());
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return false;
    } else if (display && Headless()) {
        SayDisplayUnavailable(display, "no driver could open it");
    }
    TrackEvents();
    return true;
}

bool Headless() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return !driver || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

std::string LastError() { return SDL_GetError(); }

SDL_Window* OpenWindow(const char* title, int width, int height, int samples) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, samples > 0 ? 1 : 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, samples > 0 ? samples : 0);
    return SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
}

void CloseWindow(SDL_Window* window) {
    if (window) SDL_DestroyWindow(window);
}

GlContext CreateContext(SDL_Window* window) { return SDL_GL_CreateContext(window); }

bool MakeCurrent(SDL_Window* window, GlContext context) { return SDL_GL_MakeCurrent(window, context) == 0; }

void DeleteContext(GlContext context) {
    if (context) SDL_GL_DeleteContext(context);
}

void SwapWindow(SDL_Window* window) { SDL_GL_SwapWindow(window); }

void* GetProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

void SetWindowTitle(SDL_Window* window, const std::string& title) { SDL_SetWindowTitle(window, title.c_str()); }

std::string WindowTitle(SDL_Window* window) { return SDL_GetWindowTitle(window); }

void ShowWindow(SDL_Window* window) { SDL_ShowWindow(window); }

void HideWindow(SDL_Window* window) { SDL_HideWindow(window); }

void RaiseWindow(SDL_Window* window) { SDL_RaiseWindow(window); }

void SetClientSize(SDL_Window* window, int width, int height) { SDL_SetWindowSize(window, width, height); }

void ClientSize(SDL_Window* window, int& width, int& height) { SDL_GetWindowSize(window, &width, &height); }

bool EnterFullscreen(SDL_Window* window, int width, int height, int depth) {
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    if (depth > 0) wanted.format = depth >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    SDL_DisplayMode found{};
    int display = SDL_GetWindowDisplayIndex(window);
    if (!SDL_GetClosestDisplayMode(display < 0 ? 0 : display, &wanted, &found)) return false;
    if (found.w != width || found.h != height) return false;
    if (depth > 0 && StorageBits(found.format) != depth) return false;
    if (SDL_SetWindowDisplayMode(window, &found) != 0) return false;
    return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

void LeaveFullscreen(SDL_Window* window) { SDL_SetWindowFullscreen(window, 0); }

DisplayMode DesktopMode() {
    DisplayMode mode{};
    if (const char* injected = std::getenv("TMV_DESKTOP_MODE"); injected && ParseMode(injected, mode)) return mode;
    SDL_DisplayMode sdl{};
    if (SDL_GetDesktopDisplayMode(0, &sdl) != 0) return {0, 0, 32, 0};
    return FromSdl(sdl);
}

std::vector<DisplayMode> DisplayModes() {
    std::vector<DisplayMode> modes;
    if (const char* injected = std::getenv("TMV_DISPLAY_MODES")) {
        std::string_view list = injected;
        while (!list.empty()) {
            size_t comma = list.find(',');
            DisplayMode mode{};
            if (ParseMode(list.substr(0, comma), mode)) modes.push_back(mode);
            list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        }
        return modes;
    }
    int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode{};
        if (SDL_GetDisplayMode(0, i, &mode) == 0) modes.push_back(FromSdl(mode));
    }
    return modes;
}

} // namespace platform
