// Joysticks through an SDL virtual device: count, name, axes, hats, buttons.
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <utility>

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

    SDL_JoystickSetVirtualAxis(pad.joystick, 0, 16384);
    SDL_JoystickSetVirtualAxis(pad.joystick, 1, -32768);
    SDL_JoystickSetVirtualAxis(pad.joystick, 5, 32767);
    EXPECT_NEAR(JoystickAxisX(pad.n), 16384 / 32767.0, 1e-9);
    EXPECT_EQ(JoystickAxisY(pad.n), -1.0) << "-32768 / 32767 is limited to -1";
    EXPECT_EQ(JoystickAxisRZ(pad.n), 1.0);
    EXPECT_EQ(JoystickAxisZ(pad.n), 0.0);
    EXPECT_EQ(JoystickAxisX(pad.n + 1), 0.0);

    // Diagonals count as neither direction.
    const std::pair<Uint8, std::pair<double, double>> hats[] = {
        {SDL_HAT_UP, {0, -1}},     {SDL_HAT_DOWN, {0, 1}},     {SDL_HAT_LEFT, {-1, 0}},   {SDL_HAT_RIGHT, {1, 0}},
        {SDL_HAT_RIGHTUP, {0, 0}}, {SDL_HAT_LEFTDOWN, {0, 0}}, {SDL_HAT_CENTERED, {0, 0}}};
    for (auto [hat, xy] : hats) {
        SDL_JoystickSetVirtualHat(pad.joystick, 0, hat);
        EXPECT_EQ(JoystickHatX(pad.n), xy.first) << "hat " << int(hat);
        EXPECT_EQ(JoystickHatY(pad.n), xy.second) << "hat " << int(hat);
    }
    EXPECT_EQ(JoystickHatY(pad.n + 1), 0) << "a missing joystick does not point up";

    SDL_JoystickSetVirtualButton(pad.joystick, 0, SDL_PRESSED);
    SDL_JoystickSetVirtualButton(pad.joystick, 11, SDL_PRESSED);
    for (int missing : {pad.n + 1, -1}) EXPECT_EQ(JoystickButton(missing, 0), 0) << missing;
    for (int button : {1, 12, 32, -1}) EXPECT_EQ(JoystickButton(pad.n, button), 0) << button;
    for (int button : {0, 11}) EXPECT_EQ(JoystickButton(pad.n, button), 0x80) << button;
    if (pad.n == 0) { // GetState reads joystick 0; another attached joystick would take that place
        double x, y, b1, b2;
        JoystickGetState(x, y, b1, b2);
        EXPECT_EQ(x, 1) << "16384 rounds to a full step";
        EXPECT_EQ(y, -1);
        EXPECT_EQ(b1, 0x80);
        EXPECT_EQ(b2, 0);
    }
    JoystickRumble(pad.n, 100, 2, -2); // a virtual pad cannot rumble; nothing may go wrong
    JoystickRumble(pad.n + 1, 100, 1, 1);
    SDL_JoystickSetVirtualHat(pad.joystick, 0, SDL_HAT_DOWN);
    SDL_JoystickDetachVirtual(pad.deviceIndex);
    EXPECT_EQ(JoystickHatY(pad.n), 0) << "a pad pulled out reads as centred, not as pointing up";
}
