// The focus ring and the navigation keys of the active dialog.
#include "gui/focus_ring.h"

#include "gui/shading.h"
#include "gui/widget_handlers.h"
#include "runtime/core/number_convert.h"
#include "runtime/input/input.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kEscape = 1, kTab = 15, kEnter = 28, kKeypadEnter = 156, kSpace = 57;
constexpr int kUp = 200, kDown = 208, kLeft = 203, kRight = 205;
constexpr int kPageUp = 201, kPageDown = 209, kHome = 199, kEnd = 207;

bool Activates(const KYguiWidget& w) { return w.type == "BUTTON" || w.type == "CHECKBOX" || w.type == "FILE"; }

int32_t Items(const KYguiWidget& w) { return static_cast<int32_t>(SplitText(w.text, '|').size()); }

// A new selection in 0 .. count - 1 from the keys, or the old one when nothing moves.
int32_t Moved(int32_t select, int32_t count, int32_t pageSize, const FocusKeys& keys) {
    if (count <= 0) return select;
    int32_t at = std::clamp(select, 0, count - 1);
    if (select < 0 && keys.step > 0) at = -1; // nothing selected: Down takes the first
    at += keys.step + keys.page * pageSize;
    if (keys.end < 0) at = 0;
    if (keys.end > 0) at = count - 1;
    return std::clamp(at, 0, count - 1);
}

void SliderKeys(KYguiWidget& w, const FocusKeys& keys) {
    double range = w.maxval - w.minval;
    double step = w.step > 0 ? w.step : range / 100;
    double value = std::clamp(w.text.ToNumber(), std::min(w.minval, w.maxval), std::max(w.minval, w.maxval));
    value += (keys.step + 10 * keys.page) * step;
    if (keys.end < 0) value = w.minval;
    if (keys.end > 0) value = w.maxval;
    value = std::clamp(value, std::min(w.minval, w.maxval), std::max(w.minval, w.maxval));
    if (w.step > 0) {
        w.text = RtString(NumberToInt(value / w.step + 0.4) * w.step);
    } else {
        char two[64];
        std::snprintf(two, sizeof two, "%.2f", value);
        w.text = two;
    }
    w.clicked = 1;
}

} // namespace

bool Focusable(const KYguiWidget& w) {
    if (w.hide != 0) return false;
    for (const char* kind : {"BUTTON", "CHECKBOX", "RADIO", "LIST", "SLIDER", "TEXT", "TAB", "FILE"})
        if (w.type == kind) return true;
    return false;
}

void MoveFocus(KYguiDialog& d, int32_t direction) {
    std::vector<RtString> ring;
    int32_t at = -1;
    for (const KYguiDrawOrder& entry : d.draw_order) {
        const KYguiWidget& w = d.widgets[static_cast<size_t>(entry.index)];
        if (!Focusable(w)) continue;
        if (w.id == d.focus) at = static_cast<int32_t>(ring.size());
        ring.push_back(w.id);
    }
    if (ring.empty()) return;
    int32_t n = static_cast<int32_t>(ring.size());
    at = at < 0 ? (direction > 0 ? 0 : n - 1) : ((at + direction) % n + n) % n;
    d.focus = ring[static_cast<size_t>(at)];
}

FocusKeys ReadFocusKeys(KYguiDialog& d) {
    KYguiState& k = KYgui();
    std::vector<FrameKeyPress> presses = TakeFrameKeyPresses();
    k.presses.clear();
    FocusKeys keys;
    for (const FrameKeyPress& press : presses) {
        int32_t at = FindWidget(d, d.focus, false);
        const KYguiWidget* w = at >= 0 ? &d.widgets[static_cast<size_t>(at)] : nullptr;
        bool inText = w && w->type == "TEXT";
        if (press.code == kTab && (press.control || !inText)) {
            MoveFocus(d, press.shift ? -1 : 1);
            continue; // a Tab that moved the focus types nothing where it lands
        }
        k.presses.push_back(press);
        if (press.code == kEscape) keys.cancel = true;
        if (inText) continue; // the field's keys keep their text meaning
        switch (press.code) {
        case kSpace:
            keys.activate = keys.activate || (w && Activates(*w));
            break;
        case kEnter:
        case kKeypadEnter:
            if (w && Activates(*w))
                keys.activate = true;
            else
                keys.confirm = true;
            break;
        case kUp:
        case kLeft:
            --keys.step;
            break;
        case kDown:
        case kRight:
            ++keys.step;
            break;
        case kPageUp:
            --keys.page;
            break;
        case kPageDown:
            ++keys.page;
            break;
        case kHome:
            keys.end = -1;
            break;
        case kEnd:
            keys.end = 1;
            break;
        }
    }
    return keys;
}

void ApplyFocusKeys(KYguiDialog& d, int32_t index, const FocusKeys& keys) {
    if (keys.step == 0 && keys.page == 0 && keys.end == 0) return;
    int32_t fx, fy;
    CharSize(fx, fy);
    KYguiWidget& w = d.widgets[static_cast<size_t>(index)];
    if (w.type == "SLIDER") {
        SliderKeys(w, keys);
    } else if (w.type == "RADIO" || w.type == "LIST") {
        int32_t visible = std::max(1, w.height / fy);
        int32_t select = Moved(w.select, Items(w), visible, keys);
        if (select != w.select) {
            w.select = select;
            w.clicked = 1;
        }
        if (w.type == "LIST") {
            if (select < w.scroll) w.scroll = select;
            if (select >= w.scroll + visible) w.scroll = select - visible + 1;
        }
    } else if (w.type == "TAB") {
        int32_t select = Moved(w.select, Items(w), 1, keys);
        if (select != w.select) {
            w.clicked = 1;
            SelectTab(d, index, select);
        }
    }
}

void DrawFocusMark(const KYguiWidget& w) {
    FrameLines(2, 2, w.width - 4, w.height - 4, 0);
    FrameLines(3, 3, w.width - 6, w.height - 6, 0xFFFFFF);
}
