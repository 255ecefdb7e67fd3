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

// A pad with six axes, 12 buttons and one hat, found by a fresh InputInit as the last joystick.
TEST(Joystick, VirtualPadCountNameAxesHatsButtons) {
    AttachSubsystems();
    StartRuntime();
    // Joysticks speak to the focused program only; the offscreen window never has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 12, 1);
    ASSERT_GE(device, 0) << SDL_GetError();
    ASSERT_LT(device, kMaxJoysticks);
    SDL_Joystick* pad = SDL_JoystickOpen(device);
    InputShutdown();
    InputInit(true);
    int n = Input().joystickCount - 1;
    EXPECT_EQ(JoystickCount(), SDL_NumJoysticks());
    std::string name = SDL_JoystickNameForIndex(device);
    EXPECT_EQ(std::string(JoystickName(n).c_str()), name + ", " + name);
    for (int missing : {n + 1, -1}) EXPECT_STREQ(JoystickName(missing).c_str(), "") << missing;

    // -32768 / 32767 is limited to -1; a missing joystick reads 0.
    for (auto [axis, value] : {std::pair{0, 16384}, {1, -32768}, {5, 32767}})
        SDL_JoystickSetVirtualAxis(pad, axis, Sint16(value));
    const double axes[] = {JoystickAxisX(n),  JoystickAxisY(n),     JoystickAxisZ(n),
                           JoystickAxisRZ(n), JoystickAxisX(n + 1), JoystickAxisY(-1)};
    const double expected[] = {16384 / 32767.0, -1, 0, 1, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(axes[i], expected[i], 1e-12) << i;

    // Diagonals count as neither direction; a missing joystick does not point up.
    const std::pair<Uint8, std::pair<double, double>> hats[] = {
        {SDL_HAT_UP, {0, -1}},     {SDL_HAT_DOWN, {0, 1}},     {SDL_HAT_LEFT, {-1, 0}},   {SDL_HAT_RIGHT, {1, 0}},
        {SDL_HAT_RIGHTUP, {0, 0}}, {SDL_HAT_LEFTDOWN, {0, 0}}, {SDL_HAT_CENTERED, {0, 0}}};
    for (auto [hat, xy] : hats) {
        SDL_JoystickSetVirtualHat(pad, 0, hat);
        EXPECT_EQ(std::pair(JoystickHatX(n), JoystickHatY(n)), xy) << "hat " << int(hat);
    }
    EXPECT_EQ(JoystickHatY(n + 1), 0);

    SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(pad, 11, SDL_PRESSED);
    const std::pair<int, int> buttons[] = {{n + 1, 0}, {-1, 0}, {n, 1}, {n, 12}, {n, 32}, {n, -1}};
    for (auto [stick, button] : buttons) EXPECT_EQ(JoystickButton(stick, button), 0) << stick << " " << button;
    EXPECT_EQ(JoystickButton(n, 0) + JoystickButton(n, 11), 0x100);
    if (n == 0) { // GetState reads joystick 0; another attached joystick would take that place
        double x, y, b1, b2;
        JoystickGetState(x, y, b1, b2);
        EXPECT_EQ(std::vector<double>({x, y, b1, b2}), (std::vector<double>{1, -1, 0x80, 0})) << "16384 rounds up";
    }
    SDL_JoystickSetVirtualHat(pad, 0, SDL_HAT_DOWN);
    SDL_JoystickDetachVirtual(device);
    EXPECT_EQ(JoystickHatY(n), 0) << "a pad pulled out reads as centred, not as pointing up";
    SDL_JoystickClose(pad);
    InputShutdown();
    InputInit(true);
    ApplyMouseMode();
}
