// The input subsystem: held keys and typed characters (one per press, the layout's, the quit keys),
// the mouse (one motion sample per frame, the position kept on the screen, the two modes) and
// joysticks through an SDL virtual device.
#include "platform/mouse_pointer.h"
#include "platform/scan_codes.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/core/subsystem_hooks.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <array>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

void StartInput() {
    AttachSubsystems();
    bool first = !Runtime().device;
    StartRuntime();
    EXPECT_TRUE(!first || SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE) << "by default the program takes the mouse";
}

// Releases the keys and lets KeyTyped see that nothing is held, so the next press counts.
void ReleaseKeys(const std::vector<SDL_Scancode>& keys) {
    for (SDL_Scancode k : keys) PushKey(k, false);
    EXPECT_EQ(KeyTyped(), 0);
}

// Relative mode, and no motion left from earlier tests.
void StartMouse() {
    StartInput();
    MouseShowPointer(0);
    InputFrameUpdate();
    MouseGetAxis(0);
}

void ExpectPosition(int32_t x, int32_t y) {
    int32_t px, py, b1, b2;
    MouseGetState(px, py, b1, b2);
    EXPECT_EQ(std::pair(px, py), std::pair(x, y));
}

} // namespace

// A game pad with one hat, found by a fresh InputInit as the last joystick, and its presses as keys.
TEST(Joystick, VirtualPadCountAxesHatsButtonsAndPressesAsKeys) {
    StartInput();
    // Joysticks speak to the focused program only; the offscreen window never has the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    int device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                           SDL_CONTROLLER_BUTTON_MAX, 1);
    SDL_Joystick* pad = SDL_JoystickOpen(device);
    ASSERT_NE(pad, nullptr) << SDL_GetError();
    InputFrameUpdate(); // opens it as a game pad

    // As keys: A is Enter, B Escape, the shoulders Shift+Tab and Tab, the D-pad and the left stick the
    // arrows, pressed once when a direction starts; a stick moved no further than 16000, or the right
    // stick, presses nothing, and of two equal axes the horizontal one wins.
    const int kA = SDL_CONTROLLER_BUTTON_A, kB = SDL_CONTROLLER_BUTTON_B, kUp = SDL_CONTROLLER_BUTTON_DPAD_UP;
    const int kLeft = SDL_CONTROLLER_BUTTON_DPAD_LEFT, kX = SDL_CONTROLLER_AXIS_LEFTX, kY = SDL_CONTROLLER_AXIS_LEFTY;
    const int kAxis = 100; // rows from kAxis on move an axis
    // clang-format off
    const std::tuple<int, int, std::vector<std::pair<int, bool>>> steps[] = {
        {kA, 1, {{28, false}}}, {kA, 0, {}}, {kB, 1, {{1, false}}}, {kB, 0, {}},
        {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, 1, {{15, true}}}, {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, 1, {{15, false}}},
        {SDL_CONTROLLER_BUTTON_X, 1, {}}, {kUp, 1, {{200, false}}}, {kLeft, 1, {{203, false}}}, {kLeft, 0, {}},
        {kUp, 0, {}}, {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1, {{208, false}}}, {kAxis + kX, 16000, {}},
        {kAxis + kX, 16001, {{205, false}}}, {kAxis + kY, -20000, {{200, false}}}, {kAxis + kX, -30000, {{203, false}}},
        {kAxis + kX, -100, {{200, false}}}, {kAxis + kY, 0, {}}, {kAxis + kY, 16000, {}},
        {kAxis + kY, 16001, {{208, false}}}, {kAxis + kX, 16001, {{205, false}}},
        {kAxis + SDL_CONTROLLER_AXIS_RIGHTY, 30000, {}}};
    // clang-format on
    for (size_t i = 0; i < std::size(steps); ++i) {
        auto [control, value, presses] = steps[i];
        if (control >= kAxis)
            SDL_JoystickSetVirtualAxis(pad, control - kAxis, Sint16(value));
        else
            SDL_JoystickSetVirtualButton(pad, control, Uint8(value));
        InputFrameUpdate();
        std::vector<std::pair<int, bool>> seen;
        for (const FrameKeyPress& press : TakeFrameKeyPresses()) seen.emplace_back(press.code, press.shift);
        EXPECT_EQ(seen, presses) << "step " << i;
    }
    InputShutdown();
    InputInit(true);
    int n = Input().joystickCount - 1;
    for (int missing : {n + 1, -1}) EXPECT_STREQ(JoystickName(missing).c_str(), "") << missing;

    // -32768 / 32767 is limited to -1; a missing joystick reads 0, its hat not pointing up.
    for (auto [axis, value] : {std::pair{0, 16384}, {1, -32768}, {5, 32767}})
        SDL_JoystickSetVirtualAxis(pad, axis, Sint16(value));
    const std::pair<double, double> axes[] = {
        {JoystickAxisX(n), 16384 / 32767.0}, {JoystickAxisY(n), -1}, {JoystickAxisZ(n), 0},   {JoystickAxisRZ(n), 1},
        {JoystickAxisX(n + 1), 0},           {JoystickAxisY(-1), 0}, {JoystickHatY(n + 1), 0}};
    for (auto [axis, expected] : axes) EXPECT_NEAR(axis, expected, 1e-12);

    // Diagonals count as neither direction.
    const std::pair<Uint8, std::pair<double, double>> hats[] = {
        {SDL_HAT_UP, {0, -1}},     {SDL_HAT_DOWN, {0, 1}},     {SDL_HAT_LEFT, {-1, 0}},   {SDL_HAT_RIGHT, {1, 0}},
        {SDL_HAT_RIGHTUP, {0, 0}}, {SDL_HAT_LEFTDOWN, {0, 0}}, {SDL_HAT_CENTERED, {0, 0}}};
    for (auto [hat, xy] : hats) {
        SDL_JoystickSetVirtualHat(pad, 0, hat);
        EXPECT_EQ(std::pair(JoystickHatX(n), JoystickHatY(n)), xy) << "hat " << int(hat);
    }

    for (int button : {0, 11}) SDL_JoystickSetVirtualButton(pad, button, SDL_PRESSED);
    const std::pair<int, int> buttons[] = {{n + 1, 0}, {-1, 0}, {n, 1}, {n, SDL_CONTROLLER_BUTTON_MAX},
                                           {n, 32},    {n, -1}};
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

// Every key of the main block is held under its scan code, of which only the low byte counts. One
// character per press: no auto-repeat, shift pressed while a letter is held repeats nothing, and of two
// held keys the lower scan code types until it is released.
TEST(Keyboard, KeysAreHeldByScanCodeEachPressTypesOnceAndTheLowestHeldScanCodeWins) {
    StartInput();
    for (int code = 1; code <= 83; ++code) {
        PushKey(platform::SdlFromScanCode(code), true);
        EXPECT_EQ(KeyDown(code - 256), 1) << "no key for scan code " << code;
        PushKey(platform::SdlFromScanCode(code), false);
    }
    PushKey(SDL_NUM_SCANCODES, true); // past SDL's table: ignored, not looked up
    EXPECT_EQ(KeyTyped(), 0);
    ReleaseKeys({});
    const std::pair<std::pair<SDL_Scancode, bool>, double> steps[] = {
        {{SDL_SCANCODE_A, true}, 'a'},      {{SDL_SCANCODE_A, true}, 0},         {{SDL_SCANCODE_LSHIFT, true}, 0},
        {{SDL_SCANCODE_A, false}, 0},       {{SDL_SCANCODE_LSHIFT, false}, 0},   {{SDL_SCANCODE_A, true}, 'a'},
        {{SDL_SCANCODE_B, true}, 0},        {{SDL_SCANCODE_A, false}, 'b'},      {{SDL_SCANCODE_B, false}, 0},
        {{SDL_SCANCODE_CAPSLOCK, true}, 0}, {{SDL_SCANCODE_CAPSLOCK, false}, 0}, {{SDL_SCANCODE_B, true}, 'b'}};
    for (size_t i = 0; i < std::size(steps); ++i) {
        PushKey(steps[i].first.first, steps[i].first.second);
        EXPECT_EQ(KeyTyped(), steps[i].second) << "step " << i;
    }
    // Losing the focus forgets what is held: the releases went to another window.
    PushMouseButton(SDL_BUTTON_LEFT, true);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(KeyDown(kKeyB), 0);
    EXPECT_FALSE(MouseAnyButton());
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ReleaseKeys({});

    // A key, after a modifier held before it (or none), with the text the layout sends for it (or
    // none): bytes from 128 up are dropped, the layout's character wins over the US one, shift makes
    // any small letter a capital.
    constexpr SDL_Scancode kNone = SDL_SCANCODE_UNKNOWN, kShift = SDL_SCANCODE_LSHIFT, kCtrl = SDL_SCANCODE_RCTRL;
    // The frame's own record of the press keeps a sent letter as it came.
    // clang-format off
    const std::tuple<SDL_Scancode, SDL_Scancode, const char*, double, int> cases[] = {
        {kNone, SDL_SCANCODE_RSHIFT, nullptr, 0, 0},         {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_A, nullptr, 'A', 'A'},
        {kNone, SDL_SCANCODE_RETURN, nullptr, 10, 10},       {kNone, SDL_SCANCODE_KP_ENTER, nullptr, 10, 10},
        {kNone, SDL_SCANCODE_BACKSPACE, nullptr, 8, 8},      {kNone, SDL_SCANCODE_TAB, nullptr, 0, 0},
        {kCtrl, SDL_SCANCODE_C, nullptr, 0, 0},              {kNone, SDL_SCANCODE_E, "\xC3\xA9", 0, 0},
        {kShift, SDL_SCANCODE_2, "\"", '"', '"'},             {kShift, SDL_SCANCODE_A, "a", 'A', 'a'},
        {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_Z, "z", 'Z', 'z'}, {kShift, SDL_SCANCODE_Z, nullptr, 'Z', 'Z'}};
    // clang-format on
    for (auto [held, key, text, typed, pressed] : cases) {
        if (held) PushKey(held, true);
        PushKey(key, true);
        if (text) {
            SDL_Event e{.type = SDL_TEXTINPUT};
            std::strncpy(e.text.text, text, sizeof e.text.text - 1);
            SDL_PushEvent(&e);
        }
        EXPECT_EQ(KeyTyped(), typed) << "key " << key;
        InputFrameUpdate();
        EXPECT_EQ(TakeFrameKeyPresses().back().character, pressed) << "key " << key;
        ReleaseKeys({held, key});
    }
    // A key not held gives the layout's plain character; only the low byte of the code counts.
    const std::pair<double, double> plain[] = {{3, '2'}, {57, ' '}, {42, 0}, {30 - 256, 'a'}, {30 + 512, 'a'}};
    for (auto [code, character] : plain) EXPECT_EQ(ScanCodeToChar(code), character) << code;
}

TEST(Mouse, StartsHiddenStaysOnTheScreenFollowsTheShownPointerAndGivesOneSamplePerFrame) {
    StartInput();
    EXPECT_FALSE(platform::PointerShown()); // the first mouse test: nothing switched it yet
    StartMouse();
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
    StartMouse();
    EXPECT_FALSE(platform::PointerShown());

    // Each row is one frame: the motion, wheel and left-button events before it, and the axes 0 to 3
    // read after it. Motion sums within a frame up to 16 bits, the wheel gives its sign, a click released
    // before the frame looked is still seen, and motion after the frame's first read belongs to the next.
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
TEST(InputWait, EscapeEndsTheProgramUnlessSwitchedOffAMoveOrClickEndsTheWaitButtonsAreReadFresh) {
    EXPECT_EXIT(
        {
            StartInput();
            PushKey(SDL_SCANCODE_ESCAPE, true);
            WaitInputChange();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
    StartMouse();
    AllowEscapeKey(0);
    PushKey(SDL_SCANCODE_ESCAPE, true);
    WaitInputChange(); // returns: a key is held
    PushKey(SDL_SCANCODE_ESCAPE, false);
    AllowEscapeKey(1);
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
