// The warning box shown to the person at the screen.
#include "platform/message_box.h"

#include "platform/video.h"

#include <SDL.h>

namespace platform {

void ShowWarningBox(const char* caption, const char* text) {
    if (Headless()) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}

} // namespace platform
