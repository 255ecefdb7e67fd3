// Joysticks and game pads over SDL's joystick API.
#include "platform/joysticks.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace platform {

namespace {

uint32_t HatToPointOfView(uint8_t hat) {
    switch (hat) {
    case SDL_HAT_UP:
        return 0;
    case SDL_HAT_RIGHTUP:
        return 4500;
    case SDL_HAT_RIGHT:
        return 9000;
    case SDL_HAT_RIGHTDOWN:
        return 13500;
    case SDL_HAT_DOWN:
        return 18000;
    case SDL_HAT_LEFTDOWN:
        return 22500;
    case SDL_HAT_LEFT:
        return 27000;
    case SDL_HAT_LEFTUP:
        return 31500;
    }
    return 0xFFFFFFFF;
}

} // namespace

std::vector<Joystick> OpenJoysticks(int max) {
    std::vector<Joystick> found;
    if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return found;
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count && static_cast<int>(found.size()) < max; ++i)
        if (Joystick j = SDL_JoystickOpen(i)) found.push_back(j);
    return found;
}

void CloseJoystick(Joystick joystick) {
    if (joystick) SDL_JoystickClose(joystick);
}

std::string JoystickDeviceName(Joystick joystick) {
    const char* name = SDL_JoystickName(joystick);
    return name ? name : "";
}

bool ReadJoystick(Joystick joystick, JoystickState& state) {
    std::memset(&state, 0, sizeof state);
    SDL_JoystickUpdate();
    if (!SDL_JoystickGetAttached(joystick)) return false;
    int axes = std::min(SDL_JoystickNumAxes(joystick), 8);
    for (int i = 0; i < axes; ++i) {
        int32_t value = SDL_JoystickGetAxis(joystick, i);
        if (i < 6)
            state.axes[i] = value;
        else
            state.sliders[i - 6] = value;
    }
    int hats = SDL_JoystickNumHats(joystick);
    for (int i = 0; i < 4; ++i)
        state.pointsOfView[i] = i < hats ? HatToPointOfView(SDL_JoystickGetHat(joystick, i)) : 0xFFFFFFFF;
    int buttons = std::min(SDL_JoystickNumButtons(joystick), 32);
    for (int i = 0; i < buttons; ++i) state.buttons[i] = SDL_JoystickGetButton(joystick, i) ? 0x80 : 0;
    return true;
}

bool RumbleJoystick(Joystick joystick, double strength, uint32_t ms) {
    auto level = static_cast<Uint16>(std::clamp(strength, 0.0, 1.0) * 65535.0);
    return SDL_JoystickRumble(joystick, level, level, ms) == 0;
}

} // namespace platform
