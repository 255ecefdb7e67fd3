// Typed characters: each key press gives its character once, in the keyboard layout in use.
#include "platform/events.h"
#include "platform/keyboard_layout.h"
#include "runtime/core/number_convert.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"

#include <utility>

namespace {

constexpr int kBackspace = 0x0E;
constexpr int kEnter = 0x1C;
constexpr int kKeypadEnter = 0x9C;
constexpr int kLeftShift = 0x2A;
constexpr int kRightShift = 0x36;
constexpr int kLeftControl = 0x1D;
constexpr int kRightControl = 0x9D;
constexpr int kLeftAlt = 0x38;
constexpr int kCapsLock = 0x3A;
constexpr int kNumLock = 0x45;
constexpr int kApplications = 0xDD;

bool Held(const InputDevice& in, int code) { return in.keys[code] & 0x80; }

bool ShiftHeld(const InputDevice& in) { return Held(in, kLeftShift) || Held(in, kRightShift); }

// What the layout gives when the key sent no text (a pushed event, or before the text arrived):
// Control turns keys into control characters, which are dropped anyway; shift makes capitals.
int LayoutCharacter(int code, bool shift, bool control) {
    if (control) return 0;
    int c = platform::LayoutCharacter(code);
    if (c >= 'a' && c <= 'z' && shift) c -= 32;
    return c;
}

// typed: the character the system's text input gave for the press, 0 when none.
int Character(int code, int typed, bool shift, bool control) {
    switch (code) {
    case kLeftShift:
    case kRightShift:
    case kLeftControl:
    case kLeftAlt:
    case kCapsLock:
    case kNumLock:
    case kApplications:
        return 0;
    case kEnter:
    case kKeypadEnter:
        return 10;
    case kBackspace:
        return 8;
    }
    int c = typed ? typed : LayoutCharacter(code, shift, control);
    // Control characters and every byte from 128 up are dropped.
    if (static_cast<signed char>(c) < 32 && c != 8 && c != 10) return 0;
    return c;
}

int KeyCharacter(const InputDevice& in, int code) {
    return Character(code, platform::TypedCharacter(code), ShiftHeld(in),
                     Held(in, kLeftControl) || Held(in, kRightControl));
}

} // namespace

double KeyTyped() {
    KeyboardUpdate();
    InputDevice& in = Input();
    int c = 0;
    for (int code = 0; code < 255 && !c; ++code)
        if (Held(in, code)) c = KeyCharacter(in, code);
    // A letter is the same key with or without shift, so pressing shift while it is held repeats nothing.
    int identity = c >= 'A' && c <= 'Z' ? c + 32 : c;
    if (c >= 'a' && c <= 'z' && ShiftHeld(in)) c -= 32;
    if (identity == in.lastTypedKey) return 0;
    in.lastTypedKey = static_cast<uint8_t>(identity);
    return c;
}

RtString KeyTypedString() {
    int c = static_cast<int>(KeyTyped());
    if (!c) return RtString();
    char text[2] = {static_cast<char>(c), 0};
    return RtString(text);
}

double ScanCodeToChar(double scanCode) {
    KeyboardUpdate();
    return KeyCharacter(Input(), NumberToInt(scanCode) & 0xFF);
}

void TakeFramePresses() {
    InputDevice& in = Input();
    in.framePresses.clear();
    for (const platform::KeyPress& press : platform::TakeKeyPresses())
        in.framePresses.push_back({press.code, Character(press.code, press.character, press.shift, press.control),
                                   press.shift, press.control});
}

std::vector<FrameKeyPress> TakeFrameKeyPresses() { return std::exchange(Input().framePresses, {}); }
