// Each kind's behaviour: what a frame's pointer and click event do to the widget's properties.
#include "gui/widget_handlers.h"

#include "gui/scroll_bar.h"
#include "gui/text_engine.h"
#include "gui/text_field.h"
#include "gui/text_metrics.h"
#include "runtime/core/number_convert.h"
#include "runtime/files/system_services.h"
#include "runtime/input/input.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void HandleRadio(KYguiWidget& w, int32_t lx, int32_t ly, int32_t e, int32_t fy) {
    int32_t n = static_cast<int32_t>(SplitText(w.text, '|').size());
    w.clicked = 0;
    w.height = n * fy;
    w.hover = -1;
    if (ly > 0 && ly <= n * fy && lx > 0 && lx < w.width) {
        int32_t line = ly / fy;
        w.hover = line;
        if (e == 1 && line != w.select) {
            w.select = std::min(line, n - 1);
            w.clicked = 1;
        }
    }
}

void HandleList(KYguiDialog& d, KYguiWidget& w, int32_t lx, int32_t ly, int32_t e, int32_t fx, int32_t fy) {
    w.scroll_range = w.count - w.height / fy;
    bool bar = HandleScrollBar(d, w, lx, ly, e, w.width, w.height);
    w.clicked = 0;
    if (ly > 0 && ly <= w.height && lx > 0 && lx < w.width - 1.5 * fx * (bar ? 1 : 0)) {
        int32_t line = ly / fy + w.scroll;
        w.hover = line;
        if (e == 1 && line != w.select) {
            w.select = line >= w.count ? -1 : line;
            w.clicked = 1;
        }
    } else {
        w.hover = -1;
    }
}

// A press takes the focus and starts a drag; the focus stays after the drag for the keys.
void HandleSlider(KYguiDialog& d, KYguiWidget& w, int32_t lx, int32_t e) {
    KYguiState& k = KYgui();
    w.clicked = e;
    if (e == -1) {
        d.focus = w.id;
        k.sliderDrag = true;
    }
    if (d.focus != w.id || !k.sliderDrag) return;
    if (MouseGetAxis(3) == 0) {
        k.sliderDrag = false;
        return;
    }
    double f = std::clamp((lx - 5.0) / std::max(1, w.width - 9), 0.0, 1.0);
    double value = (w.maxval - w.minval) * f + w.minval;
    if (w.step > 0) {
        // Huge or undefined quotients saturate instead of overflowing.
        value = NumberToInt(value / w.step + 0.4) * w.step;
        w.text = RtString(value);
    } else {
        char two[64];
        std::snprintf(two, sizeof two, "%.2f", value);
        w.text = two;
    }
    w.clicked = 1;
}

void HandleFile(KYguiWidget& w, int32_t e) {
    if (w.filter.Length() == 0) w.filter = "*.*";
    w.clicked = 0;
    if (e != 1) return;
    RtString chosen = FileRequest(1, w.filter);
    w.text = chosen == "NO_FILE" ? RtString() : chosen;
    w.clicked = 1;
}

// The tab whose caption spans column lx, the captions side by side from column 0; -1 when none. The
// caller keeps presses to the caption row.
int32_t TabAt(const KYguiWidget& w, int32_t lx, int32_t fx) {
    std::vector<RtString> groups = SplitText(w.text, '|');
    int32_t right = 0;
    for (int32_t k = 0; k < static_cast<int32_t>(groups.size()); ++k) {
        std::vector<RtString> parts = SplitText(groups[k], ',');
        right += fx + MeasureText(parts.empty() ? RtString() : parts[0]);
        if (lx < right) return k;
    }
    return -1;
}

} // namespace

bool BuiltIn(const RtString& type) {
    for (const char* kind :
         {"WIDGET", "BUTTON", "SLIDER", "RADIO", "CHECKBOX", "FILE", "LIST", "TEXT", "TAB", "SPACER"})
        if (type == kind) return true;
    return false;
}

void SelectTab(KYguiDialog& d, int32_t index, int32_t k) {
    d.widgets[index].select = k;
    std::vector<RtString> groups = SplitText(d.widgets[index].text, '|');
    for (int32_t i = 0; i < static_cast<int32_t>(groups.size()); ++i) {
        std::vector<RtString> parts = SplitText(groups[i], ',');
        for (size_t j = 1; j < parts.size(); ++j)
            if (parts[j].Length() > 0) KYgui_hide(parts[j], i == k ? 0 : 1);
    }
}

void HandleWidget(KYguiDialog& d, int32_t index, int32_t lx, int32_t ly, int32_t e, int32_t button2) {
    int32_t fx, fy;
    CharSize(fx, fy);
    KYguiWidget& w = d.widgets[index];
    if (lx >= 0 && lx < w.width && ly >= 0 && ly < w.height) {
        w.hover = 1;
    } else {
        w.hover = 0;
        e = 0;
    }
    const RtString& type = w.type;
    if (type == "WIDGET") {
        w.height = WrappedTextHeight(w.text, w.width);
    } else if (type == "BUTTON") {
        w.clicked = e == 1 ? 1 : 0;
        if (w.clicked && w.readonly == 0 && w.text.view().starts_with("SPR_C")) {
            d.request = 1;
            d.request_id = w.id;
        }
    } else if (type == "CHECKBOX") {
        w.clicked = 0;
        if (e == 1) {
            w.clicked = 1;
            // 1 - select would keep a 2 or a -1 ticked for ever.
            w.select = w.select == 0 ? 1 : 0;
        }
    } else if (type == "RADIO") {
        HandleRadio(w, lx, ly, e, fy);
    } else if (type == "LIST") {
        HandleList(d, w, lx, ly, e, fx, fy);
    } else if (type == "SLIDER") {
        HandleSlider(d, w, lx, e);
    } else if (type == "FILE") {
        HandleFile(w, e);
    } else if (type == "TEXT") {
        HandleTextField(d, w, lx, ly, e);
    } else if (type == "TAB") {
        w.clicked = 0;
        RtString id = w.id;
        if (w.select == -1) SelectTab(d, index, 0);
        // Hiding a group's ids may have created widgets and moved this one.
        KYguiWidget& tab = d.widgets[FindWidget(d, id, false)];
        if (e == 1 && ly > 0 && ly <= fy && lx > 0 && lx < tab.width) {
            int32_t k = TabAt(tab, lx, fx);
            if (k >= 0 && k != tab.select) {
                tab.clicked = 1;
                SelectTab(d, FindWidget(d, id, false), k);
            }
        }
    } else if (!BuiltIn(type)) {
        RtString id = w.id;
        kygui_handle_user(id, lx, ly, e, button2);
    }
}
