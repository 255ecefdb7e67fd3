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
#include <vector>

namespace {

void StartInput() {
    AttachSubsystems();
    StartRuntime();
}

// Releases the keys and lets KeyTyped see that nothing is held, so the next press counts.
void ReleaseKeys(std::initializer_list<SDL_Scancode> keys) {
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

TEST(Keyboard, KeyDownTakesTheLowByteOfTheScanCode) {
    StartInput();
    PushKey(SDL_SCANCODE_UP, true);
    EXPECT_EQ(KeyDown(200), 1);
    EXPECT_EQ(KeyDown(200 + 256), 1);
    EXPECT_EQ(KeyDown(200 - 256), 1) << "-56 names the same key as 200";
    EXPECT_EQ(KeyDown(208), 0);
    PushKey(SDL_SCANCODE_UP, false);
    EXPECT_EQ(KeyDown(200), 0);
}

TEST(Keyboard, EveryKeyOfAFullKeyboardHasItsScanCode) {
    StartInput();
    std::vector<int> codes;
    for (int c = 1; c <= 83; ++c) codes.push_back(c);
    for (int c :
         {86, 87, 88, 156, 157, 181, 183, 184, 197, 199, 200, 201, 203, 205, 207, 208, 209, 210, 211, 219, 220, 221})
        codes.push_back(c);
    for (int code : codes) {
        int sdl = platform::SdlFromScanCode(code);
        ASSERT_NE(sdl, 0) << "no key for scan code " << code;
        EXPECT_EQ(platform::ScanCodeFromSdl(sdl), code);
        PushKey(sdl, true);
        EXPECT_EQ(KeyDown(code), 1) << code;
        PushKey(sdl, false);
        EXPECT_EQ(KeyDown(code), 0) << code;
    }
}

TEST(Keyboard, EachPressTypesItsCharacterOnce) {
    StartInput();
    ReleaseKeys({});
    PushKey(SDL_SCANCODE_A, true);
    EXPECT_EQ(KeyTyped(), 97);
    EXPECT_EQ(KeyTyped(), 0) << "no auto-repeat";
    EXPECT_EQ(KeyTyped(), 0);
    PushKey(SDL_SCANCODE_LSHIFT, true);
    EXPECT_EQ(KeyTyped(), 0) << "shift pressed while A is held repeats nothing";
    ReleaseKeys({SDL_SCANCODE_A, SDL_SCANCODE_LSHIFT});

    PushKey(SDL_SCANCODE_A, true);
    EXPECT_EQ(KeyTyped(), 97) << "a new press after a release";
    ReleaseKeys({SDL_SCANCODE_A});

    PushKey(SDL_SCANCODE_RSHIFT, true);
    EXPECT_EQ(KeyTyped(), 0) << "shift alone types nothing";
    PushKey(SDL_SCANCODE_A, true);
    EXPECT_EQ(KeyTyped(), 65) << "either shift makes a capital";
    ReleaseKeys({SDL_SCANCODE_A, SDL_SCANCODE_RSHIFT});
}

TEST(Keyboard, TheLowestHeldScanCodeWins) {
    StartInput();
    ReleaseKeys({});
    PushKey(SDL_SCANCODE_A, true); // 30
    EXPECT_EQ(KeyTyped(), 'a');
    PushKey(SDL_SCANCODE_B, true); // 48
    EXPECT_EQ(KeyTyped(), 0) << "B waits until A is released";
    PushKey(SDL_SCANCODE_A, false);
    EXPECT_EQ(KeyTyped(), 'b');
    ReleaseKeys({SDL_SCANCODE_B});
}

TEST(Keyboard, EnterBackspaceAndDroppedCharacters) {
    StartInput();
    ReleaseKeys({});
    PushKey(SDL_SCANCODE_RETURN, true);
    EXPECT_EQ(KeyTyped(), 10);
    ReleaseKeys({SDL_SCANCODE_RETURN});
    PushKey(SDL_SCANCODE_KP_ENTER, true);
    EXPECT_EQ(KeyTyped(), 10);
    ReleaseKeys({SDL_SCANCODE_KP_ENTER});
    PushKey(SDL_SCANCODE_BACKSPACE, true);
    EXPECT_EQ(KeyTyped(), 8);
    ReleaseKeys({SDL_SCANCODE_BACKSPACE});

    PushKey(SDL_SCANCODE_TAB, true);
    EXPECT_EQ(KeyTyped(), 0) << "a control character";
    ReleaseKeys({SDL_SCANCODE_TAB});
    PushKey(SDL_SCANCODE_LCTRL, true);
    PushKey(SDL_SCANCODE_C, true);
    EXPECT_EQ(KeyTyped(), 0) << "Control+C is a control character";
    ReleaseKeys({SDL_SCANCODE_C, SDL_SCANCODE_LCTRL});

    PushKey(SDL_SCANCODE_E, true);
    PushText("\xC3\xA9");
    EXPECT_EQ(KeyTyped(), 0) << "bytes from 128 up are dropped";
    ReleaseKeys({SDL_SCANCODE_E});
}

TEST(Keyboard, CharactersComeFromTheLayoutsTextInput) {
    StartInput();
    ReleaseKeys({});
    // A layout that gives '"' for shift+2.
    PushKey(SDL_SCANCODE_LSHIFT, true);
    PushKey(SDL_SCANCODE_2, true);
    PushText("\"");
    EXPECT_EQ(ScanCodeToChar(3), '"');
    EXPECT_EQ(KeyTyped(), '"');
    ReleaseKeys({SDL_SCANCODE_2, SDL_SCANCODE_LSHIFT});
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
    EXPECT_TRUE(Runtime().escapeQuits);
}
