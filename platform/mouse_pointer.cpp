// The system pointer over SDL's relative mouse mode and cursor calls.
#include "platform/mouse_pointer.h"

#include "platform/events.h"

#include <SDL.h>

namespace platform {

// Drivers without relative mode (offscreen) refuse it; the pointer is still hidden and motion
// still counts, which is all the runtime needs.
void SetRelativeMouse(bool on) { SDL_SetRelativeMouseMode(on ? SDL_TRUE : SDL_FALSE); }

void ShowPointer(bool shown) { SDL_ShowCursor(shown ? SDL_ENABLE : SDL_DISABLE); }

bool PointerShown() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

void WarpPointer(SDL_Window* window, int x, int y) {
    if (window) SDL_WarpMouseInWindow(window, x, y);
    SetPointerPosition(x, y);
}

} // namespace platform
