// The event queue and the key and focus state kept from it.
#include "platform/events.h"

#include "platform/scan_codes.h"

#include <SDL.h>

namespace platform {

namespace {

struct EventState {
    uint8_t keys[256] = {};
    bool focus = true;
};

EventState& State() {
    static EventState state;
    return state;
}

// Runs as each event enters the queue (read from the system or pushed by a test), so the state is the
// devices' state at that moment, whether or not the window's messages have been dispatched yet.
int Track(void*, SDL_Event* event) {
    const SDL_Event& e = *event;
    EventState& s = State();
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (int code = ScanCodeFromSdl(e.key.keysym.scancode)) s.keys[code] = e.type == SDL_KEYDOWN ? 0x80 : 0;
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            s.focus = false;
            // Keys released while another window has focus never reach us; forget them.
            for (uint8_t& key : s.keys) key = 0;
        } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
            s.focus = true;
        }
        break;
    }
    return 1;
}

EventType Classify(const SDL_Event& e) {
    if (e.type == SDL_QUIT) return EventType::Close;
    if (e.type != SDL_WINDOWEVENT) return EventType::Other;
    switch (e.window.event) {
    case SDL_WINDOWEVENT_CLOSE:
        return EventType::Close;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        return EventType::FocusLost;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        return EventType::FocusGained;
    }
    return EventType::Other;
}

} // namespace

void TrackEvents() { SDL_AddEventWatch(Track, nullptr); }

void ReadDevices() { SDL_PumpEvents(); }

bool PollEvent(Event& event) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    event.type = Classify(e);
    return true;
}

const uint8_t* KeyState() { return State().keys; }

bool KeyDown(int scanCode) { return State().keys[scanCode & 0xFF] & 0x80; }

bool HasFocus() { return State().focus; }

} // namespace platform
