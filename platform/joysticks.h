// Joysticks and game pads over SDL's joystick API, read in the layout the runtime's samples use.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct _SDL_Joystick;

namespace platform {

using Joystick = _SDL_Joystick*;

// X, Y, Z, rotation X, Y, Z, then two sliders: -32768..32767. Points of view in hundredths of a
// degree clockwise from up, 0xFFFFFFFF when centred or absent. Buttons 0x80 while pressed.
struct JoystickState {
    int32_t axes[6];
    int32_t sliders[2];
    uint32_t pointsOfView[4];
    uint8_t buttons[32];
};

// Opens the joysticks attached now, at most max, in the system's order.
std::vector<Joystick> OpenJoysticks(int max);
void CloseJoystick(Joystick joystick);
std::string JoystickDeviceName(Joystick joystick);
// Polls the device; false (and an all-zero state) when it is gone.
bool ReadJoystick(Joystick joystick, JoystickState& state);
// Both motors at strength 0..1 for ms milliseconds; false when the device cannot rumble.
bool RumbleJoystick(Joystick joystick, double strength, uint32_t ms);

} // namespace platform
