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
        EXPECT_EQ(KeyDown(code), 1) << code;
        EXPECT_EQ(KeyDown(code + 256), 1) << code;
        EXPECT_EQ(KeyDown(code - 256), 1) << code;
        PushKey(sdl, false);
        EXPECT_EQ(KeyDown(code), 0) << code;
    }
}

TEST(Keyboard, EachPressTypesOnceAndTheLowestHeldScanCodeWins) {
    StartInput();
    ReleaseKeys({});
    for (auto [key, typed] : {std::pair{SDL_SCANCODE_A, 'a'}, std::pair{SDL_SCANCODE_Z, 'z'}}) {
        PushKey(key, true);
        EXPECT_EQ(KeyTyped(), typed);
        EXPECT_EQ(KeyTyped(), 0) << "no auto-repeat";
        PushKey(SDL_SCANCODE_LSHIFT, true);
        EXPECT_EQ(KeyTyped(), 0) << "shift pressed while the letter is held repeats nothing";
        ReleaseKeys({key, SDL_SCANCODE_LSHIFT});
    }

    PushKey(SDL_SCANCODE_A, true); // 30
    EXPECT_EQ(KeyTyped(), 97) << "a new press after a release";
    PushKey(SDL_SCANCODE_B, true); // 48
    EXPECT_EQ(KeyTyped(), 0) << "B waits until A is released";
    PushKey(SDL_SCANCODE_A, false);
    EXPECT_EQ(KeyTyped(), 'b');
    ReleaseKeys({SDL_SCANCODE_B});
}

TEST(Keyboard, WhatAPressTypes) {
    struct Case {
        std::vector<SDL_Scancode> keys; // pressed in this order
        const char* text;               // what the layout sends, if anything
        double typed;
    };
    const Case cases[] = {
        {{SDL_SCANCODE_RSHIFT}, nullptr, 0},
        {{SDL_SCANCODE_RSHIFT, SDL_SCANCODE_A}, nullptr, 65},
        {{SDL_SCANCODE_RETURN}, nullptr, 10},
        {{SDL_SCANCODE_KP_ENTER}, nullptr, 10},
        {{SDL_SCANCODE_BACKSPACE}, nullptr, 8},
        {{SDL_SCANCODE_TAB}, nullptr, 0},
        {{SDL_SCANCODE_LCTRL, SDL_SCANCODE_C}, nullptr, 0},
        {{SDL_SCANCODE_E}, "\xC3\xA9", 0},                  // bytes from 128 up are dropped
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_2}, "\"", '"'}, // the layout's character, not the US one
        {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_A}, "a", 'A'},  // shift makes any small letter a capital
        {{SDL_SCANCODE_RSHIFT, SDL_SCANCODE_Z}, "z", 'Z'},
    };
    StartInput();
    ReleaseKeys({});
    for (const Case& c : cases) {
        for (SDL_Scancode k : c.keys) PushKey(k, true);
        if (c.text) PushText(c.text);
        EXPECT_EQ(KeyTyped(), c.typed) << "last key " << c.keys.back();
        if (c.text && c.typed) {
            EXPECT_EQ(ScanCodeToChar(platform::ScanCodeFromSdl(c.keys.back())), c.text[0]);
        }
        ReleaseKeys(c.keys);
    }
    EXPECT_EQ(ScanCodeToChar(3), '2') << "a key not held gives the layout's plain character";
    EXPECT_EQ(ScanCodeToChar(57), ' ');
    EXPECT_EQ(ScanCodeToChar(42), 0);
    EXPECT_EQ(ScanCodeToChar(30 - 256), 'a');
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
    ShowScreen();
    EXPECT_EQ(KeyDown(1), 1);
    PushKey(SDL_SCANCODE_ESCAPE, false);
    AllowEscapeKey(1);
}

TEST(Keyboard, LosingTheFocusForgetsHeldKeysAndButtons) {
    StartInput();
    PushKey(SDL_SCANCODE_A, true);
    PushMouseButton(SDL_BUTTON_LEFT, true);
    EXPECT_EQ(KeyDown(kKeyA), 1);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(KeyDown(kKeyA), 0) << "its release went to another window";
    EXPECT_FALSE(MouseAnyButton());
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    ShowScreen();
}
