// Input inside the runtime: the public commands (<tmv/input.h>); the input object and its per-frame
// refresh are in input_device.h.
#pragma once

#include <tmv/input.h>

#include <vector>

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
