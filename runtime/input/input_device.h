// InputDevice: the one record of keyboard, mouse and joystick state, its life from start-up to
// program end, and the per-frame keyboard and mouse refresh.
#pragma once

#include "platform/joysticks.h"
#include "runtime/core/rt_string.h"
#include "runtime/input/input.h"

#include <array>
#include <cstdint>
#include <vector>

struct SDL_Window;

constexpr int kMaxJoysticks = 10;

struct InputDevice {
    int32_t mouseX = 100; // virtual position in screen pixels
    int32_t mouseY = 100;
    std::array<platform::Joystick, kMaxJoysticks> joysticks{};
    std::array<RtString, kMaxJoysticks> joystickNames;
    uint8_t keys[256] = {}; // by scan code, bit 7 = down
    SDL_Window* window = nullptr;
    bool pointerShown = false; // true = absolute mode with the system pointer visible
    int32_t joystickCount = 0;
    bool newMouseFrame = true; // the next mouse read measures fresh motion
    int16_t lastDx = 0;
    int16_t lastDy = 0;
    int16_t lastWheel = 0;
    int frameButtons = 0; // buttons pressed since the last mouse frame: they read as held for this one
    std::vector<FrameKeyPress> framePresses;
    uint8_t lastTypedKey = 0; // the typed-key reader's last reported key, small letters for A-Z
};

// The process-wide input object.
InputDevice& Input();

// Construction: mouse at (100, 100), no joysticks, pointer not shown, a new mouse frame open.
void InputReset();
// After the window exists: without exclusiveMouse the pointer is shown at once (absolute mode).
void InputInit(bool exclusiveMouse);
// Start-up's and SetScreen's mouse step: the pointer mode the input object records, applied again.
void ApplyMouseMode();
// Program end: the pointer back to the user, the joysticks closed.
void InputShutdown();

void KeyboardUpdate();
// ShowScreen's input step: the key presses since the last frame become this frame's.
void TakeFramePresses();
// ShowScreen's input step: KeyboardUpdate and a new mouse frame.
void InputFrameUpdate();
