// The system pointer: relative mode (hidden, motion only) or absolute mode (visible), and moving it.
#pragma once

struct SDL_Window;

namespace platform {

// Relative mode hides the pointer and keeps it inside the window; motion keeps arriving.
void SetRelativeMouse(bool on);
void ShowPointer(bool shown);
bool PointerShown();
// Moves the system pointer to (x, y) of the window's client area.
void WarpPointer(SDL_Window* window, int x, int y);

} // namespace platform
