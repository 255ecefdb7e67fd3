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

EventType Track(const SDL_Event& e) {
    EventState& s = State();
    switch (e.type) {
    case SDL_QUIT:
        return EventType::Close;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (int code = ScanCodeFromSdl(e.key.keysym.scancode)) s.keys[code] = e.type == SDL_KEYDOWN ? 0x80 : 0;
        return EventType::Other;
    case SDL_WINDOWEVENT:
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            return EventType::Close;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            s.focus = false;
            // Keys released while another window has focus never reach us; forget them.
            for (uint8_t& key : s.keys) key = 0;
            return EventType::FocusLost;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            s.focus = true;
            return EventType::FocusGained;
        }
        return EventType::Other;
    }
    return EventType::Other;
}

} // namespace

bool PollEvent(Event& event) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    event.type = Track(e);
    return true;
}

const uint8_t* KeyState() { return State().keys; }

bool KeyDown(int scanCode) { return State().keys[scanCode & 0xFF] & 0x80; }

bool HasFocus() { return State().focus; }

} // namespace platform
