// The mouse: one motion sample per mouse frame, the virtual position, the pointer modes.
#include "platform/events.h"
#include "platform/mouse_pointer.h"
#include "runtime/core/number_convert.h"
#include "runtime/core/runtime_state.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"

#include <algorithm>

namespace {

int16_t Clamp16(int value) { return static_cast<int16_t>(std::clamp(value, -32768, 32767)); }

int Sign(int value) { return (value > 0) - (value < 0); }

// Relative mode adds the device's motion to the virtual position; absolute mode follows the system
// pointer and reports how far it went.
void MeasureMotion(InputDevice& in) {
    in.newMouseFrame = false;
    platform::MouseMotion motion = platform::TakeMouseMotion();
    int dx = motion.dx;
    int dy = motion.dy;
    if (in.pointerShown) {
        int x, y;
        platform::PointerPosition(x, y);
        dx = x - in.mouseX;
        dy = y - in.mouseY;
    }
    in.lastDx = Clamp16(dx);
    in.lastDy = Clamp16(dy);
    in.lastWheel = static_cast<int16_t>(Sign(motion.wheel));
    // A press released before the frame looked would otherwise never be seen: no click is lost. One
    // still held shows by itself.
    in.frameButtons = platform::TakeButtonPresses() & ~platform::MouseButtons();
    in.mouseX += dx;
    in.mouseY += dy;
}

void ClampToScreen(InputDevice& in) {
    const OpenGLVividoru& device = Device();
    in.mouseX = std::clamp(in.mouseX, 0, std::max(device.width - 1, 0));
    in.mouseY = std::clamp(in.mouseY, 0, std::max(device.height - 1, 0));
}

} // namespace

bool MouseRead(MouseSample& sample) {
    InputDevice& in = Input();
    platform::ReadDevices();
    if (in.newMouseFrame) MeasureMotion(in);
    int buttons = platform::MouseButtons() | in.frameButtons;
    sample = {static_cast<int16_t>(buttons & 1 ? 1 : 0),
              static_cast<int16_t>(buttons & 2 ? 1 : 0),
              static_cast<int16_t>(buttons & 4 ? 1 : 0),
              in.lastDx,
              in.lastDy,
              in.lastWheel};
    return true;
}

bool MouseAnyButton() {
    Input().newMouseFrame = true;
    MouseSample sample;
    MouseRead(sample);
    return sample.button1 || sample.button2 || sample.button3;
}

void MouseGetState(double& x, double& y, double& button1, double& button2) {
    int32_t ix, iy, b1, b2;
    MouseGetState(ix, iy, b1, b2);
    x = ix;
    y = iy;
    button1 = b1;
    button2 = b2;
}

void MouseGetState(int32_t& x, int32_t& y, int32_t& button1, int32_t& button2) {
    MouseSample sample;
    MouseRead(sample);
    InputDevice& in = Input();
    ClampToScreen(in);
    x = in.mouseX;
    y = in.mouseY;
    button1 = sample.button1 ? 1 : 0;
    button2 = sample.button2 ? 1 : 0;
}

double MouseGetAxis(double index) {
    MouseSample sample;
    if (!MouseRead(sample)) return 0;
    switch (NumberToInt(index)) {
    case 0:
        return sample.dx;
    case 1:
        return sample.dy;
    case 2:
        return sample.wheel;
    case 3:
        return sample.button1 ? 1 : 0;
    case 4:
        return sample.button2 ? 1 : 0;
    case 5:
        return sample.button3 ? 1 : 0;
    }
    return 0;
}

void MouseSetPosition(double x, double y) {
    Input().mouseX = NumberToInt(x);
    Input().mouseY = NumberToInt(y);
}

void MouseShowPointer(double on) {
    InputDevice& in = Input();
    bool show = on != 0;
    if (show && !in.pointerShown) {
        platform::SetRelativeMouse(false);
        platform::WarpPointer(in.window, in.mouseX, in.mouseY);
        platform::ShowPointer(true);
    } else if (!show) {
        platform::SetRelativeMouse(true);
        platform::ShowPointer(false);
    }
    in.pointerShown = show;
}
