// The window, its OpenGL context and the display modes, over SDL.
#pragma once

#include <string>
#include <vector>

struct SDL_Window;

namespace platform {

using GlContext = void*;

struct DisplayMode {
    int width;
    int height;
    int bitsPerPixel;
    int refreshRate;
};

// Starts SDL's video; without a display it picks the offscreen driver. Keeps freed heap memory for
// the GL driver (see video.cpp). False with LastError() set.
bool VideoInit();
// True when nobody can see the window (offscreen or dummy driver): nothing may wait for a person.
bool Headless();
// SDL's last failure text, for log lines.
std::string LastError();

// A hidden window with a compatibility context's attributes: double buffer, depth 24, stencil 8.
SDL_Window* OpenWindow(const char* title, int width, int height, int samples);
void CloseWindow(SDL_Window* window);
GlContext CreateContext(SDL_Window* window);
bool MakeCurrent(SDL_Window* window, GlContext context);
void DeleteContext(GlContext context);
void SwapWindow(SDL_Window* window);
void* GetProcAddress(const char* name);

void SetWindowTitle(SDL_Window* window, const std::string& title);
std::string WindowTitle(SDL_Window* window);
void ShowWindow(SDL_Window* window);
void HideWindow(SDL_Window* window);
void RaiseWindow(SDL_Window* window);
// Keeps the window's position: a window back from full-screen returns where it was.
void SetClientSize(SDL_Window* window, int width, int height);
void ClientSize(SDL_Window* window, int& width, int& height);
// Switches the display to width x height (at depth when non-zero); false when no such mode.
bool EnterFullscreen(SDL_Window* window, int width, int height, int depth);
void LeaveFullscreen(SDL_Window* window);

DisplayMode DesktopMode();
std::vector<DisplayMode> DisplayModes();

} // namespace platform
