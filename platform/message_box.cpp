// The warning box shown to the person at the screen.
#include "platform/message_box.h"

#include "platform/video.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>

namespace platform {

bool Unattended() {
    const char* unattended = std::getenv("TMV_UNATTENDED");
    return Headless() || (unattended && std::strcmp(unattended, "1") == 0);
}

void ShowWarningBox(const char* caption, const char* text) {
    if (Unattended()) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, caption, text, nullptr);
}

} // namespace platform
