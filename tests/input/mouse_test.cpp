// The mouse: one motion sample per frame, the virtual position kept on the screen, the two modes.
#include "platform/mouse_pointer.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/core/subsystem_hooks.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <array>
#include <cstdlib>
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

TEST(Mouse, StartsHiddenRelativeMotionStaysOnTheScreenAndShowingThePointerFollowsIt) {
    AttachSubsystems();
    StartRuntime();
    EXPECT_FALSE(platform::PointerShown()); // the first test of the file: nothing switched it yet
    StartInput();
    MouseSetPosition(320, 240);
    const int moves[][4] = {{100000, -100000, 639, 0}, {-3, 4, 636, 4}, {-100000, 100000, 0, 479}};
    for (auto [dx, dy, x, y] : moves) {
        PushMouseMotion(0, 0, dx, dy);
        InputFrameUpdate();
        ExpectPosition(x, y); // the clamped position is the one kept
    }
    // Absolute mode follows the system pointer, which was put at the virtual position.
    MouseSetPosition(40, 50);
    MouseShowPointer(1);
    EXPECT_TRUE(platform::PointerShown());
    PushMouseMotion(45, 30, 99, 99);
    InputFrameUpdate();
    EXPECT_EQ(MouseGetAxis(1), -20);
    ExpectPosition(45, 30);
    MouseShowPointer(0);
    EXPECT_FALSE(platform::PointerShown());
}

// Each row is one frame: the motion, wheel and left-button events before it, and the axes 0 to 3
// read after it. Motion sums within a frame up to 16 bits, the wheel gives its sign, a click released
// before the frame looked is still seen, and motion after the frame's first read belongs to the next.
TEST(Mouse, OneSamplePerFrame) {
    StartInput();
    const std::array<int, 9> frames[] = {{5, -3, 1, 0, 0, 5, -3, 1, 0},
                                         {2, 2, -2, 0, 0, 2, 2, -1, 0},
                                         {0, 0, 0, 1, 1, 0, 0, 0, 1},
                                         {0, 0, 0, 0, 0, 0, 0, 0, 0},
                                         {40000, -40000, 3, 0, 0, 32767, -32768, 1, 0}};
    auto pushMotion = [](const std::array<int, 9>& f) {
        PushMouseMotion(0, 0, f[0] / 2, f[1] / 2);
        PushMouseMotion(0, 0, f[0] - f[0] / 2, f[1] - f[1] / 2);
    };
    pushMotion(frames[0]);
    for (size_t i = 0; i < std::size(frames); ++i) {
        const auto& f = frames[i];
        PushMouseWheel(f[2]);
        if (f[3]) PushMouseButton(SDL_BUTTON_LEFT, true);
        if (f[4]) PushMouseButton(SDL_BUTTON_LEFT, false);
        ShowScreen();
        EXPECT_EQ(MouseGetAxis(0), f[5]) << "frame " << i;
        if (i + 1 < std::size(frames)) pushMotion(frames[i + 1]);
        for (int axis = 0; axis < 4; ++axis)
            EXPECT_EQ(MouseGetAxis(axis), f[5 + axis]) << "frame " << i << " axis " << axis;
    }
    for (int axis : {6, -1}) EXPECT_EQ(MouseGetAxis(axis), 0) << axis;
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
    // Buttons are read fresh, without a new frame: axes 3 to 5 (left, right, middle) and the state's two.
    const std::pair<int, const char*> presses[] = {{SDL_BUTTON_MIDDLE, "10110"},
                                                   {-SDL_BUTTON_LEFT, "00100"},
                                                   {-SDL_BUTTON_MIDDLE, "00000"},
                                                   {SDL_BUTTON_RIGHT, "01001"}};
    for (auto [button, held] : presses) {
        PushMouseButton(std::abs(button), button > 0);
        double x, y, b1, b2;
        MouseGetState(x, y, b1, b2);
        const double axes[] = {MouseGetAxis(3), MouseGetAxis(4), MouseGetAxis(5), b1, b2};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(axes[i], held[i] - '0') << button << " " << i;
    }
    EXPECT_TRUE(MouseAnyButton()) << "the right button alone";
    PushMouseButton(SDL_BUTTON_RIGHT, false);
}
