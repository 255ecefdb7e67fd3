// The input wait commands: until any input changes, until a complete click.
#include "platform/events.h"
#include "runtime/core/core_internal.h"
#include "runtime/core/subsystem_hooks.h"
#include "runtime/input/input.h"
#include "runtime/input/input_device.h"

namespace {

constexpr int kEscape = 1;
constexpr int kEscapeAlternate = 0x81;
// Waiting sleeps until the next event instead of spinning a core while nobody touches anything.
constexpr int kIdleMs = 10;

bool AnyKeyHeld(const InputDevice& in) {
    for (int code = 0; code < 255; ++code)
        if (in.keys[code] & 0x80) return true;
    return false;
}

} // namespace

void WaitInputChange() {
    int32_t x, y, b1, b2;
    MouseGetState(x, y, b1, b2);
    InputDevice& in = Input();
    for (;;) {
        if (Hooks().musicUpkeep) Hooks().musicUpkeep();
        PumpMessages(Device());
        InputFrameUpdate();
        if (Runtime().escapeQuits && ((in.keys[kEscape] | in.keys[kEscapeAlternate]) & 0x80)) EndProgram();
        if (AnyKeyHeld(in)) return;
        int32_t nx, ny, nb1, nb2;
        MouseGetState(nx, ny, nb1, nb2);
        if (nx != x || ny != y || nb1 != b1 || nb2 != b2) return;
        platform::WaitForEvents(kIdleMs);
    }
}

void WaitMouseClick() {
    while (MouseAnyButton()) platform::WaitForEvents(kIdleMs);
    do WaitInputChange();
    while (!MouseAnyButton());
    while (MouseAnyButton()) platform::WaitForEvents(kIdleMs);
}
