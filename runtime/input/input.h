// Input: keyboard by scan code, typed characters, the mouse and up to ten joysticks. Keys use the
// keyboard's scan-code numbers, named in key_codes.h (kKeyEscape 1, kKeyEnter 28, kKeyLeft 203, ...).
// The input object and its per-frame refresh are in input_device.h.
#pragma once

#include "platform/joysticks.h"
#include "runtime/core/rt_string.h"
#include "runtime/input/key_codes.h"

#include <cstdint>
#include <vector>

// Six signed 16-bit values, in order.
struct MouseSample {
    int16_t button1;
    int16_t button2;
    int16_t button3;
    int16_t dx;
    int16_t dy;
    int16_t wheel;
};

// X, Y, Z, rotations, sliders, four points of view (hundredths of a degree), 32 button bytes.
using JoystickSample = platform::JoystickState;

// ---- Keyboard
double KeyDown(double scanCode);        // 1 while the key (low byte of the code) is held
double KeyTyped();                      // a newly pressed key's character once, else 0
RtString KeyTypedString();              // KeyTyped as text, "" for none
double ScanCodeToChar(double scanCode); // the key's character in the layout and shift state
void AllowEscapeKey(double on);         // whether a held Escape ends the program
// Every key press and auto-repeat that reached the last frame, in order, however short: the scan code,
// the character KeyTyped would give for it (0 for none) and the modifiers held then. Taken once: a
// second call in the same frame gets none.
struct FrameKeyPress {
    int code;
    int character;
    bool shift;
    bool control;
};
std::vector<FrameKeyPress> TakeFrameKeyPresses();

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
