// Joysticks: count, names, axes, points of view, buttons and rumble.
#include "runtime/core/number_convert.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr uint32_t kUp = 0;
constexpr uint32_t kRight = 9000;
constexpr uint32_t kDown = 18000;
constexpr uint32_t kLeft = 27000;

// A joystick number outside the ones found answers nothing: a zero sample would read as the hat
// pointing up.
bool Found(int n) { return n >= 0 && n < Input().joystickCount; }

bool ReadFound(double n, JoystickSample& sample) {
    int index = NumberToInt(n);
    return Found(index) && JoystickRead(index, sample);
}

double Axis(double n, int axis) {
    JoystickSample sample;
    if (!ReadFound(n, sample)) return 0;
    return std::clamp(sample.axes[axis] / 32767.0, -1.0, 1.0);
}

} // namespace

// The platform reads the same layout; the public record keeps platform names out of games.
static_assert(sizeof(JoystickSample) == sizeof(platform::JoystickState));

bool JoystickRead(int n, JoystickSample& sample) {
    platform::JoystickState state{};
    bool read = Found(n) && platform::ReadJoystick(Input().joysticks[n], state);
    std::memcpy(&sample, &state, sizeof sample);
    return read;
}

double JoystickCount() { return Input().joystickCount; }

RtString JoystickName(double n) {
    int index = NumberToInt(n);
    return Found(index) ? Input().joystickNames[index] : RtString();
}

double JoystickAxisX(double n) { return Axis(n, 0); }
double JoystickAxisY(double n) { return Axis(n, 1); }
double JoystickAxisZ(double n) { return Axis(n, 2); }
double JoystickAxisRX(double n) { return Axis(n, 3); }
double JoystickAxisRY(double n) { return Axis(n, 4); }
double JoystickAxisRZ(double n) { return Axis(n, 5); }

double JoystickHatX(double n) {
    JoystickSample sample;
    if (!ReadFound(n, sample)) return 0;
    uint32_t pov = sample.pointsOfView[0];
    return pov == kRight ? 1 : pov == kLeft ? -1 : 0;
}

double JoystickHatY(double n) {
    JoystickSample sample;
    if (!ReadFound(n, sample)) return 0;
    uint32_t pov = sample.pointsOfView[0];
    return pov == kUp ? -1 : pov == kDown ? 1 : 0;
}

double JoystickButton(double n, double button) {
    int b = NumberToInt(button);
    JoystickSample sample;
    if (b < 0 || b >= 32 || !ReadFound(n, sample)) return 0;
    return sample.buttons[b];
}

void JoystickGetState(double& x, double& y, double& button1, double& button2) {
    int32_t ix, iy, b1, b2;
    JoystickGetState(ix, iy, b1, b2);
    x = ix;
    y = iy;
    button1 = b1;
    button2 = b2;
}

void JoystickGetState(int32_t& x, int32_t& y, int32_t& button1, int32_t& button2) {
    JoystickSample sample;
    JoystickRead(0, sample);
    x = static_cast<int32_t>(std::lround(sample.axes[0] / 30000.0));
    y = static_cast<int32_t>(std::lround(sample.axes[1] / 30000.0));
    button1 = sample.buttons[0];
    button2 = sample.buttons[1];
}

// A rumble motor has no direction: the force's strength is what the device can play.
void JoystickRumble(double n, double durationMs, double forceX, double forceY) {
    int index = NumberToInt(n);
    if (!Found(index)) return;
    double fx = std::clamp(forceX, -1.0, 1.0);
    double fy = std::clamp(forceY, -1.0, 1.0);
    if (std::isnan(fx) || std::isnan(fy)) return;
    double magnitude = std::round((fx * fx + fy * fy) * 10000 * 0.5);
    auto ms = static_cast<uint32_t>(std::max(NumberToInt(std::round(durationMs)), 0));
    platform::RumbleJoystick(Input().joysticks[index], magnitude / 10000, ms);
}
