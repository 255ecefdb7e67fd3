// Held keys and typed characters: one character per press, the layout's characters, the quit keys.
#include "platform/scan_codes.h"
#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

namespace {

void StartInput() {
    AttachSubsystems();
    StartRuntime();
}

// Releases the keys and lets KeyTyped see that nothing is held, so the next press counts.
void ReleaseKeys(const std::vector<SDL_Scancode>& keys) {
    for (SDL_Scancode k : keys) PushKey(k, false);
    EXPECT_EQ(KeyTyped(), 0);
}

void PushText(const char* text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, text, sizeof e.text.text - 1);
    SDL_PushEvent(&e);
}

} // namespace

TEST(Keyboard, EveryKeyOfAFullKeyboardHasItsScanCodeAndOnlyTheLowByteCounts) {
    StartInput();
    std::vector<int> codes;
    for (int c = 1; c <= 83; ++c) codes.push_back(c);
    codes.insert(codes.end(),
                 {kKeyNonUsBackslash, kKeyF11,         kKeyF12,          kKeyPadEnter, kKeyRightControl, kKeyPadDivide,
                  kKeyPrintScreen,    kKeyRightAlt,    kKeyPause,        kKeyHome,     kKeyUp,           kKeyPageUp,
                  kKeyLeft,           kKeyRight,       kKeyEnd,          kKeyDown,     kKeyPageDown,     kKeyInsert,
                  kKeyDelete,         kKeyLeftWindows, kKeyRightWindows, kKeyMenu});
    for (int code : codes) {
        int sdl = platform::SdlFromScanCode(code);
        ASSERT_NE(sdl, 0) << "no key for scan code " << code;
        EXPECT_EQ(platform::ScanCodeFromSdl(sdl), code);
        PushKey(sdl, true);
        EXPECT_EQ(KeyDown(code - 256), 1) << code;
        PushKey(sdl, false);
        EXPECT_EQ(KeyDown(code), 0) << code;
    }
}

// One character per press: no auto-repeat, shift pressed while a letter is held repeats nothing, and
// of two held keys the lower scan code types until it is released.
TEST(Keyboard, EachPressTypesOnceAndTheLowestHeldScanCodeWins) {
    StartInput();
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
}

// A key, after a modifier held before it (or none), with the text the layout sends for it (or none):
// bytes from 128 up are dropped, the layout's character wins over the US one, shift makes any small
// letter a capital.
TEST(Keyboard, WhatAPressTypes) {
    constexpr SDL_Scancode kNone = SDL_SCANCODE_UNKNOWN, kShift = SDL_SCANCODE_LSHIFT, kCtrl = SDL_SCANCODE_RCTRL;
    // clang-format off
    const std::tuple<SDL_Scancode, SDL_Scancode, const char*, double> cases[] = {
        {kNone, SDL_SCANCODE_RSHIFT, nullptr, 0},         {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_A, nullptr, 'A'},
        {kNone, SDL_SCANCODE_RETURN, nullptr, 10},        {kNone, SDL_SCANCODE_KP_ENTER, nullptr, 10},
        {kNone, SDL_SCANCODE_BACKSPACE, nullptr, 8},      {kNone, SDL_SCANCODE_TAB, nullptr, 0},
        {SDL_SCANCODE_LCTRL, SDL_SCANCODE_C, nullptr, 0}, {kCtrl, SDL_SCANCODE_C, nullptr, 0},
        {kNone, SDL_SCANCODE_LALT, nullptr, 0},           {kNone, SDL_SCANCODE_APPLICATION, nullptr, 0},
        {kNone, SDL_SCANCODE_E, "\xC3\xA9", 0},           {kShift, SDL_SCANCODE_2, "\"", '"'},
        {kShift, SDL_SCANCODE_A, "a", 'A'},               {SDL_SCANCODE_RSHIFT, SDL_SCANCODE_Z, "z", 'Z'},
        {kShift, SDL_SCANCODE_Z, nullptr, 'Z'}};
    // clang-format on
    StartInput();
    ReleaseKeys({});
    for (auto [held, key, text, typed] : cases) {
        if (held) PushKey(held, true);
        PushKey(key, true);
        if (text) PushText(text);
        EXPECT_EQ(KeyTyped(), typed) << "key " << key;
        ReleaseKeys({held, key});
    }
    // A key not held gives the layout's plain character; only the low byte of the code counts.
    const std::pair<double, double> plain[] = {{3, '2'}, {57, ' '}, {42, 0}, {30 - 256, 'a'}, {30 + 512, 'a'}};
    for (auto [code, character] : plain) EXPECT_EQ(ScanCodeToChar(code), character) << code;
}

TEST(Keyboard, EscapeDuringAnInputWaitEndsTheProgramUnlessSwitchedOff) {
    EXPECT_EXIT(
        {
            StartInput();
            PushKey(SDL_SCANCODE_ESCAPE, true);
            WaitInputChange();
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");

    StartInput();
    AllowEscapeKey(0);
    PushKey(SDL_SCANCODE_ESCAPE, true);
    WaitInputChange(); // returns: a key is held
    PushKey(SDL_SCANCODE_ESCAPE, false);
    AllowEscapeKey(1);
}
