// The event queue and the key, mouse and focus state kept from it.
#include "platform/events.h"

#include "platform/scan_codes.h"

#include <SDL.h>
#include <cstdlib>
#include <map>
#include <mutex>
#include <utility>

namespace platform {

namespace {

// A game pad works the dialogs as the keys do: the D-pad and the left stick are the arrows (repeating
// while held), A is Enter, B is Escape, the shoulders are Shift+Tab and Tab.
constexpr int kUp = 200, kDown = 208, kLeft = 203, kRight = 205, kEnter = 28, kEscape = 1, kTab = 15;
constexpr Uint32 kRepeatDelayMs = 400, kRepeatMs = 100;
constexpr int kStickThreshold = 16000;

struct PadDirection {
    int code = 0; // the arrow held, 0 for none
    Uint32 next = 0;
};

// Presses kept for the frame loop; more than a frame could ever bring means nobody takes them.
constexpr size_t kMaxPresses = 256;

struct EventState {
    uint8_t keys[256] = {};
    std::vector<KeyPress> presses;
    uint8_t typed[256] = {};
    int lastPressed = 0;
    bool focus = true;
    MouseMotion motion = {};
    int buttons = 0;
    int pressed = 0; // buttons that went down and were not yet seen down by MouseButtons
    int pointerX = 0;
    int pointerY = 0;
    bool pointerSeen = false;
    // Held directions by pad and by source (0 the D-pad, 1 the stick), for the repeat.
    std::map<std::pair<SDL_JoystickID, int>, PadDirection> padHeld;
    // SDL may queue events from its own threads: the presses and the held directions are guarded.
    std::recursive_mutex pressLock;
    std::vector<int> padsToOpen; // device indices, opened by ReadDevices outside the event watch
};

EventState& State() {
    static EventState state;
    return state;
}

int ButtonBit(int sdlButton) {
    switch (sdlButton) {
    case SDL_BUTTON_LEFT:
        return 1;
    case SDL_BUTTON_RIGHT:
        return 2;
    case SDL_BUTTON_MIDDLE:
        return 4;
    }
    return 0;
}

void PushPress(EventState& s, const KeyPress& press) {
    std::lock_guard<std::recursive_mutex> guard(s.pressLock);
    if (s.presses.size() >= kMaxPresses) s.presses.erase(s.presses.begin());
    s.presses.push_back(press);
}

void HoldDirection(EventState& s, SDL_JoystickID pad, int source, int code) {
    std::lock_guard<std::recursive_mutex> guard(s.pressLock);
    PadDirection& held = s.padHeld[{pad, source}];
    if (held.code == code) return;
    held = {code, SDL_GetTicks() + kRepeatDelayMs};
    if (code) PushPress(s, {code, 0, false, false});
}

int DpadArrow(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return kUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return kDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return kLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return kRight;
    }
    return 0;
}

void TrackPadButton(EventState& s, const SDL_ControllerButtonEvent& e) {
    bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
    if (int arrow = DpadArrow(e.button)) {
        HoldDirection(s, e.which, 0, down ? arrow : 0);
        return;
    }
    if (!down) return;
    switch (e.button) {
    case SDL_CONTROLLER_BUTTON_A:
        PushPress(s, {kEnter, 0, false, false});
        break;
    case SDL_CONTROLLER_BUTTON_B:
        PushPress(s, {kEscape, 0, false, false});
        break;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        PushPress(s, {kTab, 0, true, false});
        break;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        PushPress(s, {kTab, 0, false, false});
        break;
    }
}

// The stick's x and y as last reported, by pad.
void TrackPadStick(EventState& s, const SDL_ControllerAxisEvent& e) {
    if (e.axis != SDL_CONTROLLER_AXIS_LEFTX && e.axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    SDL_GameController* pad = SDL_GameControllerFromInstanceID(e.which);
    if (!pad) return;
    int x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
    int y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
    if (e.axis == SDL_CONTROLLER_AXIS_LEFTX) x = e.value;
    if (e.axis == SDL_CONTROLLER_AXIS_LEFTY) y = e.value;
    int code = 0;
    if (std::abs(x) >= std::abs(y) && std::abs(x) > kStickThreshold) code = x > 0 ? kRight : kLeft;
    if (std::abs(y) > std::abs(x) && std::abs(y) > kStickThreshold) code = y > 0 ? kDown : kUp;
    HoldDirection(s, e.which, 1, code);
}

// Held directions repeat as a held key does.
void RepeatDirections(EventState& s) {
    std::lock_guard<std::recursive_mutex> guard(s.pressLock);
    Uint32 now = SDL_GetTicks();
    for (auto& [pad, held] : s.padHeld)
        if (held.code && SDL_TICKS_PASSED(now, held.next)) {
            PushPress(s, {held.code, 0, false, false});
            held.next = now + kRepeatMs;
        }
}

void TrackKey(EventState& s, const SDL_KeyboardEvent& key) {
    int code = ScanCodeFromSdl(key.keysym.scancode);
    if (!code) return;
    bool down = key.type == SDL_KEYDOWN;
    s.keys[code] = down ? 0x80 : 0;
    // Auto-repeat must not forget the character the first press gave.
    if (!key.repeat) s.typed[code] = 0;
    if (!down) return;
    s.lastPressed = code;
    PushPress(s, {code, 0, s.keys[0x2A] || s.keys[0x36], s.keys[0x1D] || s.keys[0x9D]});
}

void TrackWindow(EventState& s, const SDL_WindowEvent& window) {
    if (window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
        s.focus = false;
        // Keys and buttons released while another window has focus never reach us; forget them.
        for (uint8_t& key : s.keys) key = 0;
        s.buttons = 0;
        s.pressed = 0;
    } else if (window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        s.focus = true;
    }
}

// Runs as each event enters the queue (read from the system or pushed by a test), so the state is the
// devices' state at that moment, whether or not the window's messages have been dispatched yet.
int Track(void*, SDL_Event* event) {
    const SDL_Event& e = *event;
    EventState& s = State();
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        TrackKey(s, e.key);
        break;
    case SDL_TEXTINPUT: {
        // The text belongs to the key pressed just before it.
        if (s.lastPressed && s.keys[s.lastPressed]) s.typed[s.lastPressed] = static_cast<uint8_t>(e.text.text[0]);
        std::lock_guard<std::recursive_mutex> guard(s.pressLock);
        if (!s.presses.empty() && s.presses.back().code == s.lastPressed && s.presses.back().character == 0)
            s.presses.back().character = static_cast<uint8_t>(e.text.text[0]);
        break;
    }
    case SDL_MOUSEMOTION:
        s.motion.dx += e.motion.xrel;
        s.motion.dy += e.motion.yrel;
        s.pointerX = e.motion.x;
        s.pointerY = e.motion.y;
        s.pointerSeen = true;
        break;
    case SDL_MOUSEWHEEL:
        s.motion.wheel += e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
        s.buttons |= ButtonBit(e.button.button);
        s.pressed |= ButtonBit(e.button.button);
        break;
    case SDL_MOUSEBUTTONUP:
        s.buttons &= ~ButtonBit(e.button.button);
        break;
    case SDL_WINDOWEVENT:
        TrackWindow(s, e.window);
        break;
    case SDL_CONTROLLERDEVICEADDED: {
        // A pad plugged in while the program runs works at once.
        std::lock_guard<std::recursive_mutex> guard(s.pressLock);
        s.padsToOpen.push_back(e.cdevice.which);
        break;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
        HoldDirection(s, e.cdevice.which, 0, 0);
        HoldDirection(s, e.cdevice.which, 1, 0);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        TrackPadButton(s, e.cbutton);
        break;
    case SDL_CONTROLLERAXISMOTION:
        TrackPadStick(s, e.caxis);
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
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        return EventType::Exposed;
    }
    return EventType::Other;
}

} // namespace

// The pads attached at start arrive as device-added events too, so every one is opened in Track.
void TrackEvents() {
    SDL_AddEventWatch(Track, nullptr);
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void ReadDevices() {
    SDL_PumpEvents();
    EventState& s = State();
    std::vector<int> pads;
    {
        std::lock_guard<std::recursive_mutex> guard(s.pressLock);
        pads.swap(s.padsToOpen);
    }
    for (int index : pads) SDL_GameControllerOpen(index);
}

bool PollEvent(Event& event) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    event.type = Classify(e);
    return true;
}

void WaitForEvents(int ms) { SDL_WaitEventTimeout(nullptr, ms); }

const uint8_t* KeyState() { return State().keys; }

bool KeyDown(int scanCode) { return State().keys[scanCode & 0xFF] & 0x80; }

int TypedCharacter(int scanCode) {
    EventState& s = State();
    int code = scanCode & 0xFF;
    return s.keys[code] ? s.typed[code] : 0;
}

bool HasFocus() { return State().focus; }

MouseMotion TakeMouseMotion() {
    MouseMotion m = State().motion;
    State().motion = {};
    return m;
}

std::vector<KeyPress> TakeKeyPresses() {
    EventState& s = State();
    std::lock_guard<std::recursive_mutex> guard(s.pressLock);
    RepeatDirections(s);
    return std::exchange(s.presses, {});
}

// A press seen down here is no longer one that nobody saw.
int MouseButtons() {
    EventState& s = State();
    s.pressed &= ~s.buttons;
    return s.buttons;
}

int TakeButtonPresses() { return std::exchange(State().pressed, 0); }

bool PointerPosition(int& x, int& y) {
    x = State().pointerX;
    y = State().pointerY;
    return State().pointerSeen;
}

void SetPointerPosition(int x, int y) {
    State().pointerX = x;
    State().pointerY = y;
    State().pointerSeen = true;
}

} // namespace platform
