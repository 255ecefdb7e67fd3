// The event queue: SDL's queue stands in for the window's message queue. Draining it keeps the layer's
// own key and focus state, so events a test pushes count exactly like hardware ones.
#pragma once

#include <cstdint>

namespace platform {

enum class EventType { Close, FocusLost, FocusGained, Other };

struct Event {
    EventType type;
};

// Starts keeping the key and focus state (VideoInit does it).
void TrackEvents();
// Brings the state up to date with what the devices reported since the last call.
void ReadDevices();
// Takes the next event off the queue; false when it is empty.
bool PollEvent(Event& event);

// 256 bytes by scan-code number, 0x80 while the key is down.
const uint8_t* KeyState();
bool KeyDown(int scanCode);
bool HasFocus();

} // namespace platform
