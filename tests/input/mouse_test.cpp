// The mouse: one motion sample per frame, the virtual position kept on the screen, the two modes.
#include "platform/mouse_pointer.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/core/subsystem_hooks.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

void StartInput() {
    AttachSubsystems();
    StartRuntime();
    MouseShowPointer(0);
    InputFrameUpdate();
    MouseGetAxis(0); // takes whatever motion earlier tests left
}

void ExpectPosition(int32_t x, int32_t y) {
    int32_t px, py, b1, b2;
    MouseGetState(px, py, b1, b2);
    EXPECT_EQ(px, x);
    EXPECT_EQ(py, y);
}

} // namespace

TEST(Mouse, StartsHiddenAndShowPointerSwitchesModesAndBack) {
    AttachSubsystems();
    StartRuntime();
    EXPECT_FALSE(platform::PointerShown()); // the first test of the file: nothing switched it yet
    StartInput();
    MouseSetPosition(40, 50);
    MouseShowPointer(1);
    EXPECT_TRUE(platform::PointerShown());
    // Absolute mode follows the system pointer, which was put at the virtual position.
    PushMouseMotion(45, 30, 99, 99);
    InputFrameUpdate();
    EXPECT_EQ(MouseGetAxis(0), 5);
    EXPECT_EQ(MouseGetAxis(1), -20);
    ExpectPosition(45, 30);

    MouseShowPointer(0);
    EXPECT_FALSE(platform::PointerShown());
    PushMouseMotion(0, 0, 2, 3);
    InputFrameUpdate();
    ExpectPosition(47, 33);
}

TEST(Mouse, OneMotionAndWheelSamplePerFrame) {
    StartInput();
    PushMouseMotion(0, 0, 5, -3);
    PushMouseWheel(1);
    ShowScreen();
    EXPECT_EQ(MouseGetAxis(0), 5);
    PushMouseMotion(0, 0, 7, 7);
    PushMouseWheel(-2);
    EXPECT_EQ(MouseGetAxis(0), 5) << "the second read of a frame repeats the first";
    EXPECT_EQ(MouseGetAxis(1), -3);
    EXPECT_EQ(MouseGetAxis(2), 1);
    ShowScreen();
    EXPECT_EQ(MouseGetAxis(0), 7) << "motion after the sample belongs to the next frame";
    EXPECT_EQ(MouseGetAxis(2), -1) << "the wheel reports only its sign";
    ShowScreen();
    EXPECT_EQ(MouseGetAxis(0), 0);
    EXPECT_EQ(MouseGetAxis(2), 0);
    for (int axis : {6, -1}) EXPECT_EQ(MouseGetAxis(axis), 0) << axis;
}

TEST(Mouse, RelativeMotionNeverLeavesTheScreen) {
    StartInput();
    MouseSetPosition(320, 240);
    PushMouseMotion(0, 0, 100000, -100000);
    InputFrameUpdate();
    ExpectPosition(Device().width - 1, 0);
    PushMouseMotion(0, 0, -3, 4);
    InputFrameUpdate();
    ExpectPosition(Device().width - 4, 4); // the clamped position is the one kept
    PushMouseMotion(0, 0, -100000, 100000);
    InputFrameUpdate();
    ExpectPosition(0, Device().height - 1);
}

// The wait runs the music upkeep on every pass: the place to act while it waits.
TEST(Mouse, InputWaitReturnsOnAMoveOrClickAndButtonsAreReadFresh) {
    StartInput();
    MouseSetPosition(100, 100);
    static int passes = 0;
    Hooks().musicUpkeep = [] {
        if (++passes == 3) PushMouseMotion(0, 0, 1, 0);
    };
    WaitInputChange();
    EXPECT_EQ(passes, 3) << "nothing changed before the third pass";
    ExpectPosition(101, 100);
    Hooks().musicUpkeep = [] { PushMouseButton(SDL_BUTTON_LEFT, true); };
    WaitInputChange();
    Hooks().musicUpkeep = nullptr;
    // Buttons are read fresh, without a new frame.
    PushMouseButton(SDL_BUTTON_MIDDLE, true);
    EXPECT_EQ(MouseGetAxis(3), 1);
    EXPECT_EQ(MouseGetAxis(4), 0);
    EXPECT_EQ(MouseGetAxis(5), 1);
    PushMouseButton(SDL_BUTTON_LEFT, false);
    PushMouseButton(SDL_BUTTON_MIDDLE, false);
    PushMouseButton(SDL_BUTTON_RIGHT, true);
    double x, y, b1, b2;
    MouseGetState(x, y, b1, b2);
    EXPECT_EQ(b1, 0.0) << "no new frame is needed to see a button change";
    EXPECT_EQ(b2, 1.0);
    PushMouseButton(SDL_BUTTON_RIGHT, false);
    EXPECT_FALSE(MouseAnyButton());
}
