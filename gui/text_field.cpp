// Text field editing: focus and mouse selection, the action keys by scan code with a 100 ms repeat
// gate, shift selection, typing, delete and backspace, and the injected INKEY string.
#include "gui/text_field.h"

#include "gui/scroll_bar.h"
#include "gui/text_engine.h"
#include "runtime/core/core.h"
#include "runtime/input/input.h"

#include <algorithm>

namespace {

constexpr int kDown = 208, kUp = 200, kRight = 205, kLeft = 203, kDelete = 211, kTab = 15, kBackspace = 14;
constexpr int kLeftShift = 42, kRightShift = 54, kControl = 29, kKeyC = 46, kKeyV = 47;
constexpr double kRepeatMs = 100;

bool Held(int code) { return KeyDown(code) != 0; }

struct Keys {
    RtString typed;
    int32_t dx = 0;
    int32_t dy = 0;
    bool del = false;
    bool backspace = false;
    bool shift = false;
};

// The characters typed since the last frame, in order, as the field takes them: Enter types a line
// feed and Tab a tab; Backspace, Delete and the other control keys act through their scan codes and
// type nothing.
RtString TypedText(bool& backspace) {
    std::string typed;
    for (const FrameKeyPress& press : KYgui().presses) {
        if (press.character == 8) backspace = true;
        if (press.code == kTab) typed += '\t';
        if (press.character != 0 && press.character != 8 && press.character != 127)
            typed += static_cast<char>(press.character);
    }
    return RtString(typed);
}

// The frame's keys: the injected or typed string and, unless the repeat gate holds back the key that
// acted last, the action keys.
Keys ReadKeys(KYguiDialog& d) {
    KYguiState& k = KYgui();
    Keys keys;
    double now = ReadClockMs();
    bool gateClosed = false;
    if (d.inkey.Length() > 0) {
        keys.typed = d.inkey;
        d.inkey = "";
        if (keys.typed == "\b") {
            keys.typed = "";
            keys.backspace = true;
        }
    } else {
        keys.typed = TypedText(keys.backspace);
        gateClosed = now - k.last_key_time <= kRepeatMs;
    }
    if (gateClosed && k.last_key != 0 && Held(k.last_key)) return keys;
    keys.dy = Held(kDown) - Held(kUp);
    keys.dx = Held(kRight) - Held(kLeft);
    keys.del = Held(kDelete);
    keys.backspace = keys.backspace || Held(kBackspace);
    keys.shift = Held(kLeftShift) || Held(kRightShift);
    bool copyPaste = Held(kControl) && (Held(kKeyC) || Held(kKeyV));
    int32_t action = 0;
    if (Held(kDown)) action = kDown;
    if (Held(kUp)) action = kUp;
    if (Held(kLeft)) action = kLeft;
    if (Held(kRight)) action = kRight;
    if (keys.del) action = kDelete;
    if (keys.backspace) action = kBackspace;
    if (copyPaste) action = kControl;
    k.last_key = action;
    k.last_key_time = now;
    return keys;
}

// The character one line above or below the cursor. The cursor's centre was recorded where it was
// drawn, scrolled, so the scroll goes back in as the mouse path adds it.
int32_t LineMove(const KYguiWidget& f, int32_t dy, int32_t tw, int32_t fy) {
    return HitTestText(f.text, tw, f.cursor_x, f.cursor_y + dy * fy + f.scroll * fy);
}

// The cursor's line stays among the visible ones: typing past the last line scrolls on.
void ScrollToCursor(KYguiWidget& f, int32_t tw, int32_t fy) {
    f.scroll_range = std::max(0, (WrappedTextHeight(f.text, tw) - f.height) / fy);
    int32_t line = TextLineOf(f.text, tw, f.selend);
    int32_t visible = std::max(1, f.height / fy);
    if (line < f.scroll) f.scroll = line;
    if (line >= f.scroll + visible) f.scroll = line - visible + 1;
}

} // namespace

int32_t TextAreaWidth(const KYguiWidget& field) {
    int32_t fx, fy;
    CharSize(fx, fy);
    return static_cast<int32_t>(field.width - fx - (field.scroll_range != 0 ? 1.5 * fx : 0));
}

void HandleTextField(KYguiDialog& d, KYguiWidget& f, int32_t lx, int32_t ly, int32_t e) {
    KYguiState& k = KYgui();
    int32_t fx, fy;
    CharSize(fx, fy);
    int32_t tw = TextAreaWidth(f);
    f.scroll_range = std::max(0, (WrappedTextHeight(f.text, tw) - f.height) / fy);
    bool bar = HandleScrollBar(d, f, lx, ly, e, f.width, f.height);
    bool inside = lx >= 0 && lx < f.width - (bar ? 1.5 * fx : 0) && ly >= 0 && ly < f.height;
    if (inside) {
        if (e != 0) d.focus = f.id;
        if (e == 1 && f.readonly == 0 && k.keyboard_open == 0 && k.touch != 0) {
            d.request = 2;
            d.request_id = f.id;
        }
        bool focused = d.focus == f.id;
        if (focused && e == 0 && MouseGetAxis(3) != 0) e = 1;
        if (focused && e != 0) {
            int32_t idx = HitTestText(f.text, tw, lx, ly + f.scroll * fy);
            if (e == -1) f.selstart = idx;
            f.selend = idx;
        }
    }
    if (d.focus != f.id) return;

    Keys keys = ReadKeys(d);
    if (f.readonly != 0) {
        keys.typed = "";
        keys.del = keys.backspace = false;
    }
    if (keys.typed.Length() == 0 && !keys.del && !keys.backspace && keys.dx == 0 && keys.dy == 0) return;
    int32_t length = static_cast<int32_t>(f.text.Length());
    int32_t a = std::clamp(f.selstart, 0, length);
    int32_t b = std::clamp(f.selend, 0, length);
    if (keys.shift && (keys.dx != 0 || keys.dy != 0)) {
        b += keys.dx;
        if (keys.dy != 0) b = LineMove(f, keys.dy, tw, fy);
        f.selstart = a;
        f.selend = std::clamp(b, 0, length);
        ScrollToCursor(f, tw, fy);
        return;
    }
    std::string text(f.text.view());
    if (a != b && (keys.del || keys.backspace || keys.typed.Length() > 0)) {
        if (b < a) std::swap(a, b);
        text.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
        keys.del = keys.backspace = false;
    }
    std::string left = text.substr(0, static_cast<size_t>(a));
    std::string right = text.substr(static_cast<size_t>(a));
    a += keys.dx;
    if (keys.dy != 0) a = LineMove(f, keys.dy, tw, fy);
    if (keys.del && !right.empty()) right.erase(0, 1);
    if (keys.backspace) {
        if (!left.empty()) left.pop_back();
        --a;
    }
    if (keys.typed.Length() > 0) {
        left += keys.typed.view();
        // The whole injected string is typed, so the cursor goes past all of it.
        a += static_cast<int32_t>(keys.typed.Length());
    }
    f.text = RtString(left + right);
    a = std::clamp(a, 0, static_cast<int32_t>(f.text.Length()));
    f.selstart = f.selend = a;
    ScrollToCursor(f, tw, fy);
}
