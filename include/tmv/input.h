// Input: keyboard by scan code, typed characters, the mouse and up to ten joysticks. Keys use the
// keyboard's scan-code numbers, named at the end (kKeyEscape 1, kKeyEnter 28, kKeyLeft 203, ...).
//
//   Keyboard   KeyDown KeyTyped KeyTypedString ScanCodeToChar AllowEscapeKey
//   Mouse      MouseGetState MouseGetAxis MouseSetPosition MouseShowPointer WaitInputChange
//              WaitMouseClick MouseRead MouseAnyButton
//   Joysticks  JoystickCount JoystickName JoystickAxisX/Y/Z JoystickAxisRX/RY/RZ JoystickHatX/Y
//              JoystickButton JoystickGetState JoystickRumble JoystickRead
#pragma once

#include "rt_string.h"

#include <cstdint>

// Six signed 16-bit values, in order.
struct MouseSample {
    int16_t button1;
    int16_t button2;
    int16_t button3;
    int16_t dx;
    int16_t dy;
    int16_t wheel;
};

// X, Y, Z, rotation X, Y, Z, then two sliders: -32768..32767. Points of view in hundredths of a
// degree clockwise from up, 0xFFFFFFFF when centred or absent. Buttons 0x80 while pressed.
struct JoystickSample {
    int32_t axes[6];
    int32_t sliders[2];
    uint32_t pointsOfView[4];
    uint8_t buttons[32];
};

// ---- Keyboard
double KeyDown(double scanCode);        // 1 while the key (low byte of the code) is held
double KeyTyped();                      // a newly pressed key's character once, else 0
RtString KeyTypedString();              // KeyTyped as text, "" for none
double ScanCodeToChar(double scanCode); // the key's character in the layout and shift state
void AllowEscapeKey(double on);         // whether a held Escape ends the program

// ---- Mouse
void MouseGetState(double& x, double& y, double& button1, double& button2); // clamped to the screen
void MouseGetState(int32_t& x, int32_t& y, int32_t& button1, int32_t& button2);
double MouseGetAxis(double index);         // 0 dx, 1 dy, 2 wheel, 3-5 buttons 1-3
void MouseSetPosition(double x, double y); // the virtual position; the system pointer stays
void MouseShowPointer(double on);          // on: absolute mode, pointer visible; off: relative
void WaitInputChange();                    // until a key is held or the mouse moves or clicks
void WaitMouseClick();                     // until a complete click
bool MouseRead(MouseSample& sample);       // motion of the current mouse frame, buttons now
bool MouseAnyButton();                     // a new mouse frame; whether a button is down

// ---- Joysticks
double JoystickCount();          // found at start-up
RtString JoystickName(double n); // "instance name, product name"
double JoystickAxisX(double n);  // each axis -1..1
double JoystickAxisY(double n);
double JoystickAxisZ(double n);
double JoystickAxisRX(double n);
double JoystickAxisRY(double n);
double JoystickAxisRZ(double n);
double JoystickHatX(double n);                                                 // -1 left, 1 right, else 0
double JoystickHatY(double n);                                                 // -1 up, 1 down, else 0
double JoystickButton(double n, double button);                                // the raw button byte, 0 = up
void JoystickGetState(double& x, double& y, double& button1, double& button2); // joystick 0
void JoystickGetState(int32_t& x, int32_t& y, int32_t& button1, int32_t& button2);
void JoystickRumble(double n, double durationMs, double forceX, double forceY);
bool JoystickRead(int n, JoystickSample& sample);

// ---- Scan codes of a 105-key keyboard, as KeyDown and ScanCodeToChar take them
constexpr int32_t kKeyEscape = 1;
constexpr int32_t kKey1 = 2, kKey2 = 3, kKey3 = 4, kKey4 = 5, kKey5 = 6, kKey6 = 7, kKey7 = 8, kKey8 = 9, kKey9 = 10,
                  kKey0 = 11;
constexpr int32_t kKeyMinus = 12, kKeyEquals = 13, kKeyBackspace = 14, kKeyTab = 15;
constexpr int32_t kKeyQ = 16, kKeyW = 17, kKeyE = 18, kKeyR = 19, kKeyT = 20, kKeyY = 21, kKeyU = 22, kKeyI = 23,
                  kKeyO = 24, kKeyP = 25;
constexpr int32_t kKeyLeftBracket = 26, kKeyRightBracket = 27, kKeyEnter = 28, kKeyLeftControl = 29;
constexpr int32_t kKeyA = 30, kKeyS = 31, kKeyD = 32, kKeyF = 33, kKeyG = 34, kKeyH = 35, kKeyJ = 36, kKeyK = 37,
                  kKeyL = 38;
constexpr int32_t kKeySemicolon = 39, kKeyApostrophe = 40, kKeyGrave = 41, kKeyLeftShift = 42, kKeyBackslash = 43;
constexpr int32_t kKeyZ = 44, kKeyX = 45, kKeyC = 46, kKeyV = 47, kKeyB = 48, kKeyN = 49, kKeyM = 50;
constexpr int32_t kKeyComma = 51, kKeyPeriod = 52, kKeySlash = 53, kKeyRightShift = 54;
constexpr int32_t kKeyLeftAlt = 56, kKeySpace = 57, kKeyCapsLock = 58;
constexpr int32_t kKeyF1 = 59, kKeyF2 = 60, kKeyF3 = 61, kKeyF4 = 62, kKeyF5 = 63, kKeyF6 = 64, kKeyF7 = 65,
                  kKeyF8 = 66, kKeyF9 = 67, kKeyF10 = 68, kKeyF11 = 87, kKeyF12 = 88;
constexpr int32_t kKeyNumLock = 69, kKeyScrollLock = 70, kKeyPrintScreen = 183, kKeyPause = 197;
// The key between left Shift and Z on European keyboards.
constexpr int32_t kKeyNonUsBackslash = 86;

// ---- Keypad
constexpr int32_t kKeyPad7 = 71, kKeyPad8 = 72, kKeyPad9 = 73, kKeyPad4 = 75, kKeyPad5 = 76, kKeyPad6 = 77,
                  kKeyPad1 = 79, kKeyPad2 = 80, kKeyPad3 = 81, kKeyPad0 = 82;
constexpr int32_t kKeyPadMultiply = 55, kKeyPadMinus = 74, kKeyPadPlus = 78, kKeyPadPeriod = 83, kKeyPadEnter = 156,
                  kKeyPadDivide = 181;

// ---- Right-hand modifiers, the editing block and the arrows
constexpr int32_t kKeyRightControl = 157, kKeyRightAlt = 184;
constexpr int32_t kKeyHome = 199, kKeyUp = 200, kKeyPageUp = 201, kKeyLeft = 203, kKeyRight = 205, kKeyEnd = 207,
                  kKeyDown = 208, kKeyPageDown = 209, kKeyInsert = 210, kKeyDelete = 211;
constexpr int32_t kKeyLeftWindows = 219, kKeyRightWindows = 220, kKeyMenu = 221;
