// The creators: every kind with its automatic size and id.
#include "gui/kygui_state.h"
#include "gui/text_metrics.h"
#include "runtime/core/number_convert.h"
#include "runtime/gfx2d/gfx2d.h"

#include <algorithm>

namespace {

// KYgui_widget's steps; returns the id it used, so that the other creators address the same widget.
RtString CreateWidget(const RtString& givenId, const RtString& caption, int32_t width, int32_t height) {
    KYguiDialog& d = ActiveDialog();
    int32_t fx, fy;
    CharSize(fx, fy);
    RtString id = givenId;
    if (id.Length() == 0) id = "ID_STATIC_" + RtString(static_cast<int32_t>(d.widgets.size()) + 1);
    if (width == 0) width = MeasureText(caption) + fx;
    if (height == 0) height = fy + 6;
    int32_t at = FindWidget(d, id, true); // may grow the store: look up first, then take the reference
    KYguiWidget& w = d.widgets[static_cast<size_t>(at)];
    w.id = id;
    w.width = width;
    w.height = height;
    w.type = "WIDGET";
    w.text = caption;
    return id;
}

bool Exists(const RtString& id) { return id.Length() > 0 && FindWidget(ActiveDialog(), id, false) >= 0; }

int32_t LongestItem(const std::vector<RtString>& items) {
    uint32_t longest = 0;
    for (const RtString& item : items) longest = std::max(longest, item.Length());
    return static_cast<int32_t>(longest);
}

} // namespace

void KYgui_widget(const RtString& id, const RtString& caption, int32_t width, int32_t height) {
    CreateWidget(id, caption, width, height);
}

void KYgui_text(const RtString& id, const RtString& text, int32_t width, int32_t height) {
    KYgui_set(CreateWidget(id, text, width, height), "TYPE", "TEXT");
}

void KYgui_list(const RtString& id, const RtString& items, int32_t width, int32_t height) {
    int32_t fx, fy;
    CharSize(fx, fy);
    std::vector<RtString> parts = SplitText(items, '|');
    if (width == 0) width = (LongestItem(parts) + 3) * fx;
    height = height == 0 ? 4 * fy + 4 : height - height % fy + 4;
    bool fresh = !Exists(id);
    RtString made = CreateWidget(id, items, width, height);
    KYguiDialog& d = ActiveDialog();
    KYguiWidget& w = d.widgets[FindWidget(d, made, false)];
    if (parts.empty()) w.select = -1;
    w.type = "LIST";
    w.count = static_cast<int32_t>(parts.size());
    if (fresh) w.scroll_range = w.count;
}

void KYgui_radio(const RtString& id, const RtString& items, int32_t width) {
    int32_t fx, fy;
    CharSize(fx, fy);
    std::vector<RtString> parts = SplitText(items, '|');
    if (width == 0) width = (LongestItem(parts) + 3) * fx;
    RtString made = CreateWidget(id, items, width, fy + 6);
    KYguiDialog& d = ActiveDialog();
    KYguiWidget& w = d.widgets[FindWidget(d, made, false)];
    if (parts.empty()) w.select = -1;
    w.type = "RADIO";
}

void KYgui_checkbox(const RtString& id, const RtString& caption, int32_t width, int32_t height) {
    int32_t fx, fy;
    CharSize(fx, fy);
    if (width == 0) width = (static_cast<int32_t>(caption.Length()) + 3) * fx;
    KYgui_set(CreateWidget(id, caption, width, height), "TYPE", "CHECKBOX");
}

void KYgui_slider(const RtString& id, double value, int32_t width, int32_t height) {
    RtString made = CreateWidget(id, "0", width == 0 ? 100 : width, height == 0 ? 16 : height);
    KYgui_set(made, "TYPE", "SLIDER");
    KYgui_set(made, "TEXT", RtString(value));
}

void KYgui_button(const RtString& id, const RtString& caption, int32_t width, int32_t height) {
    RtString made = CreateWidget(id, caption, width, height);
    KYgui_set(made, "TYPE", "BUTTON");
    if (width != 0 && height != 0) return;
    int32_t fx, fy;
    CharSize(fx, fy);
    std::string_view c = caption.view();
    if (c.starts_with("SPR_B")) {
        int32_t sw, sh;
        SpriteGetSize(TextToInt(caption.c_str() + 5), sw, sh);
        if (width == 0) width = sw + 4;
        if (height == 0) height = sh + 4;
    } else if (c.starts_with("SPR_C")) {
        if (width == 0) width = 32;
        if (height == 0) height = 32;
    } else {
        if (height == 0) KYgui_set(made, "HEIGHT", RtString(fy + 4));
        return;
    }
    KYgui_set(made, "WIDTH", RtString(width));
    KYgui_set(made, "HEIGHT", RtString(height));
}

void KYgui_file(const RtString& id, const RtString& text, const RtString& filter, int32_t width, int32_t height) {
    int32_t fx, fy;
    CharSize(fx, fy);
    bool fresh = !Exists(id);
    RtString made = CreateWidget(id, text, width == 0 ? 12 * fx : width, height);
    KYgui_set(made, "TEXT", text);
    KYgui_set(made, "TYPE", "FILE");
    if (fresh) KYgui_set(made, "FILTER", filter);
}

void KYgui_tab(const RtString& id, const RtString& tabs) {
    int32_t fx, fy;
    CharSize(fx, fy);
    bool fresh = !Exists(id);
    RtString made = CreateWidget(id, tabs, 10000, fy + 7);
    KYgui_set(made, "TYPE", "TAB");
    if (fresh) KYgui_set(made, "SELECT", "-1");
    KYgui_spacer(10000, 0);
}

void KYgui_spacer(int32_t width, int32_t height) {
    RtString id = "ID_SPACER_" + RtString(static_cast<int32_t>(ActiveDialog().widgets.size()));
    CreateWidget(id, "", width, height);
    if (height == 0) KYgui_set(id, "HEIGHT", "0");
    KYgui_set(id, "TYPE", "SPACER");
}

void KYgui_user(const RtString& id, const RtString& type, int32_t width, int32_t height) {
    KYgui_set(CreateWidget(id, "", width, height), "TYPE", type);
}

void KYgui_spritebuttons(const RtArray<RtString>& ids, const RtArray<double>& sprites) {
    int32_t n = std::min(Bounds(ids, 0), Bounds(sprites, 0));
    int32_t width = 0, height = 0;
    for (int32_t k = 0; k < n; ++k) {
        int32_t sw, sh;
        SpriteGetSize(NumberToInt(sprites(k)), sw, sh);
        width = std::max(width, sw);
        height = std::max(height, sh);
    }
    for (int32_t k = 0; k < n; ++k) KYgui_button(ids(k), "SPR_B" + RtString(sprites(k)), width, height);
    KYgui_spacer(10000, 0);
}
