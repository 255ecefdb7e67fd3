// Held keys by scan code and the Escape switch.
#include "runtime/core/number_convert.h"
#include "runtime/core/runtime_state.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"

double KeyDown(double scanCode) {
    KeyboardUpdate();
    // The low byte, for negative codes too: every number names some key.
    return Input().keys[NumberToInt(scanCode) & 0xFF] & 0x80 ? 1.0 : 0.0;
}

void AllowEscapeKey(double on) { Runtime().escapeQuits = on != 0; }
