// The input object's life: reset, start-up, the pointer mode, shutdown, and the per-frame refresh.
#include "runtime/input/input_device.h"

#include "platform/events.h"
#include "platform/mouse_pointer.h"
#include "runtime/core/runtime_state.h"

#include <cstring>

InputDevice& Input() {
    static InputDevice* input = new InputDevice;
    return *input;
}

void InputReset() { Input() = InputDevice{}; }

namespace {

void OpenJoysticks(InputDevice& in) {
    std::vector<platform::Joystick> found = platform::OpenJoysticks(kMaxJoysticks);
    for (platform::Joystick j : found) {
        // The instance name and the product name are one text here: SDL knows a device by one name.
        std::string name = platform::JoystickDeviceName(j);
        in.joysticks[in.joystickCount] = j;
        in.joystickNames[in.joystickCount] = RtString(name + ", " + name);
        ++in.joystickCount;
    }
}

void ShowPointerAt(InputDevice& in) {
    platform::SetRelativeMouse(false);
    platform::WarpPointer(in.window, in.mouseX, in.mouseY);
    platform::ShowPointer(true);
}

} // namespace

void InputInit(bool exclusiveMouse) {
    InputDevice& in = Input();
    in.window = Runtime().window;
    int x, y;
    if (platform::PointerPosition(x, y)) {
        in.mouseX = x;
        in.mouseY = y;
    }
    if (!exclusiveMouse && !in.pointerShown) {
        ShowPointerAt(in);
        in.pointerShown = true;
    }
    OpenJoysticks(in);
}

void ApplyMouseMode() {
    InputDevice& in = Input();
    in.window = Runtime().window;
    if (in.pointerShown) {
        platform::SetRelativeMouse(false);
        platform::ShowPointer(true);
    } else {
        platform::SetRelativeMouse(true);
        platform::ShowPointer(false);
    }
}

void InputShutdown() {
    InputDevice& in = Input();
    platform::SetRelativeMouse(false);
    platform::ShowPointer(true);
    in.pointerShown = true;
    for (int i = 0; i < in.joystickCount; ++i) platform::CloseJoystick(in.joysticks[i]);
    InputReset();
}

// The layer's key state is the devices' state at the last pump; pumping here keeps a program that
// polls keys in its own loop, without ShowScreen, seeing them change.
void KeyboardUpdate() {
    platform::ReadDevices();
    std::memcpy(Input().keys, platform::KeyState(), sizeof Input().keys);
}

void InputFrameUpdate() {
    KeyboardUpdate();
    TakeFramePresses();
    Input().newMouseFrame = true;
}
