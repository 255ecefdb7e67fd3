// The event queue: SDL's queue stands in for the window's message queue. An event watch keeps the
// layer's own key, mouse and focus state, so events a test pushes count exactly like hardware ones.
#pragma once

#include <cstdint>
#include <vector>

namespace platform {

// Exposed: the window's picture was lost or its size changed (exposed, shown, restored, resized).
enum class EventType { Close, FocusLost, FocusGained, Exposed, Other };

struct Event {
    EventType type;
};

// Motion and wheel gathered from the mouse's events since the last TakeMouseMotion.
struct MouseMotion {
    int dx;
    int dy;
    int wheel; // positive away from the user
};

// Starts keeping the key, mouse and focus state, and opens game pads as they come (VideoInit does it).
void TrackEvents();
// Brings the state up to date with what the devices reported since the last call.
void ReadDevices();
// Takes the next event off the queue; false when it is empty.
bool PollEvent(Event& event);
// Sleeps until an event arrives or ms have passed; the event stays in the queue.
void WaitForEvents(int ms);

// 256 bytes by scan-code number, 0x80 while the key is down.
const uint8_t* KeyState();
bool KeyDown(int scanCode);
// The character the text input gave for the present press of the key (the layout's, with shift and
// AltGr applied), 0 when it gave none.
int TypedCharacter(int scanCode);
bool HasFocus();

// One key press (or auto-repeat) as it arrived, with the text the system gave for it and the
// modifiers held then.
struct KeyPress {
    int code;      // scan code
    int character; // the text input's first byte, 0 when none came
    bool shift;
    bool control;
};
// The presses since the last call, in the order they came. Game pads add theirs: the D-pad and left
// stick as the arrows (repeating while held), A as Enter, B as Escape, the shoulders as Shift+Tab
// and Tab.
std::vector<KeyPress> TakeKeyPresses();

MouseMotion TakeMouseMotion();
// Bit 0 left, bit 1 right, bit 2 middle.
int MouseButtons();
// The buttons pressed since the last call and released again before MouseButtons saw them down.
int TakeButtonPresses();
// The pointer in window coordinates, as its last motion event left it; false before the first one.
bool PointerPosition(int& x, int& y);
// Records where the program moved the pointer (a warp sends no event on every system).
void SetPointerPosition(int x, int y);

} // namespace platform
