// Joysticks through an SDL virtual device: count, name, axes, hats, buttons.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

// A pad with six axes, 12 buttons and one hat, found by a fresh InputInit as the last joystick.
struct VirtualPad {
    VirtualPad() {
        AttachSubsystems();
        StartRuntime();
        // Joysticks speak to the focused program only; the offscreen window never has the focus.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        deviceIndex = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 12, 1);
        joystick = SDL_JoystickOpen(deviceIndex);
        InputShutdown();
        InputInit(true);
        n = Input().joystickCount - 1;
    }
    ~VirtualPad() {
        SDL_JoystickClose(joystick);
        InputShutdown();
        SDL_JoystickDetachVirtual(deviceIndex);
        InputInit(true);
        ApplyMouseMode();
    }
    int deviceIndex;
    SDL_Joystick* joystick;
    int n;
};

} // namespace

TEST(Joystick, VirtualPadCountNameAxesHatsButtons) {
    VirtualPad pad;
    ASSERT_GE(pad.deviceIndex, 0) << SDL_GetError();
    ASSERT_LT(pad.deviceIndex, kMaxJoysticks);
    EXPECT_EQ(JoystickCount(), SDL_NumJoysticks());
    std::string name = SDL_JoystickNameForIndex(pad.deviceIndex);
    EXPECT_EQ(std::string(JoystickName(pad.n).c_str()), name + ", " + name);
    for (int missing : {pad.n + 1, -1}) EXPECT_STREQ(JoystickName(missing).c_str(), "") << missing;

    // -32768 / 32767 is limited to -1; a missing joystick reads 0.
    for (auto [axis, value] : {std::pair{0, 16384}, {1, -32768}, {5, 32767}})
        SDL_JoystickSetVirtualAxis(pad.joystick, axis, Sint16(value));
    const double axes[] = {JoystickAxisX(pad.n),  JoystickAxisY(pad.n),     JoystickAxisZ(pad.n),
                           JoystickAxisRZ(pad.n), JoystickAxisX(pad.n + 1), JoystickAxisY(-1)};
    const double expected[] = {16384 / 32767.0, -1, 0, 1, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(axes[i], expected[i], 1e-12) << i;

    // Diagonals count as neither direction.
    const std::pair<Uint8, std::pair<double, double>> hats[] = {
        {SDL_HAT_UP, {0, -1}},     {SDL_HAT_DOWN, {0, 1}},     {SDL_HAT_LEFT, {-1, 0}},   {SDL_HAT_RIGHT, {1, 0}},
        {SDL_HAT_RIGHTUP, {0, 0}}, {SDL_HAT_LEFTDOWN, {0, 0}}, {SDL_HAT_CENTERED, {0, 0}}};
    for (auto [hat, xy] : hats) {
        SDL_JoystickSetVirtualHat(pad.joystick, 0, hat);
        EXPECT_EQ(std::pair(JoystickHatX(pad.n), JoystickHatY(pad.n)), xy) << "hat " << int(hat);
    }
    EXPECT_EQ(JoystickHatY(pad.n + 1), 0) << "a missing joystick does not point up";

    SDL_JoystickSetVirtualButton(pad.joystick, 0, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(pad.joystick, 11, SDL_PRESSED);
    const std::pair<int, int> buttons[] = {{pad.n + 1, 0}, {-1, 0}, {pad.n, 1}, {pad.n, 12}, {pad.n, 32}, {pad.n, -1}};
    for (auto [n, button] : buttons) EXPECT_EQ(JoystickButton(n, button), 0) << n << " " << button;
    EXPECT_EQ(JoystickButton(pad.n, 0) + JoystickButton(pad.n, 11), 0x100);
    if (pad.n == 0) { // GetState reads joystick 0; another attached joystick would take that place
        double x, y, b1, b2;
        JoystickGetState(x, y, b1, b2);
        EXPECT_EQ(std::vector<double>({x, y, b1, b2}), (std::vector<double>{1, -1, 0x80, 0})) << "16384 rounds up";
    }
    JoystickRumble(pad.n, 100, 2, -2); // a virtual pad cannot rumble; nothing may go wrong
    JoystickRumble(pad.n + 1, 100, 1, 1);
    SDL_JoystickSetVirtualHat(pad.joystick, 0, SDL_HAT_DOWN);
    SDL_JoystickDetachVirtual(pad.deviceIndex);
    EXPECT_EQ(JoystickHatY(pad.n), 0) << "a pad pulled out reads as centred, not as pointing up";
}
