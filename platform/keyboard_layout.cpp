// The character a key gives in the keyboard layout in use, from SDL's key map.
#include "platform/keyboard_layout.h"

#include "platform/scan_codes.h"

#include <SDL_keyboard.h>

namespace platform {

int LayoutCharacter(int scanCode) {
    int sdl = SdlFromScanCode(scanCode);
    if (!sdl) return 0;
    SDL_Keycode key = SDL_GetKeyFromScancode(static_cast<SDL_Scancode>(sdl));
    // Keys without a character have codes with SDLK_SCANCODE_MASK set, far above ASCII.
    return key > 0 && key < 128 ? static_cast<int>(key) : 0;
}

} // namespace platform
