// The event queue: SDL's queue stands in for the window's message queue. Draining it keeps the layer's
// own key and focus state, so events a test pushes count exactly like hardware ones.
#pragma once

#include <cstdint>

namespace platform {

enum class EventType { Close, FocusLost, FocusGained, Other };

struct Event {
    EventType type;
};

// Takes the next event off the queue after updating the key and focus state from it; false when empty.
bool PollEvent(Event& event);

// 256 bytes by scan-code number, 0x80 while the key is down.
const uint8_t* KeyState();
bool KeyDown(int scanCode);
bool HasFocus();

} // namespace platform
