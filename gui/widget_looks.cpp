// The look of every kind: faces, captions, marks, knobs, items and outlines.
#include "gui/widget_looks.h"

#include "gui/scroll_bar.h"
#include "gui/shading.h"
#include "gui/text_engine.h"
#include "gui/text_field.h"
#include "gui/text_metrics.h"
#include "runtime/core/number_convert.h"
#include "runtime/gfx2d/gfx2d.h"

#include <cmath>

namespace {

struct Colours {
    int32_t bright;
    int32_t norm;
};

Colours Roles(const KYguiDialog& d, bool hovered) {
    return hovered ? Colours{d.col_hover_bright, d.col_hover_norm} : Colours{d.col_bright, d.col_norm};
}

void DrawButton(const KYguiDialog& d, const KYguiWidget& w, int32_t fy) {
    // A latched button (SELECT set) looks hovered when it is not, and the other way round.
    bool s = (w.hover != 0) != (w.select != 0);
    Colours c = Roles(d, s);
    ShadedBox(c.bright, c.norm, 1, 1, w.width - 2, w.height - 2);
    std::string_view caption = w.text.view();
    if (caption.starts_with("SPR_B")) {
        if (!s) SetBlendMode(-0.8);
        SpriteDrawStretched(TextToInt(w.text.c_str() + 5), 2, 2, w.width - 4, w.height - 4);
        SetBlendMode(0);
    } else if (caption.starts_with("SPR_C")) {
        if (s) SetBlendMode(-0.8);
        DrawFilledRect(1, 1, w.width - 2, w.height - 2, TextToInt(w.text.c_str() + 5));
        SetBlendMode(0);
    } else {
        PrintTextAt(w.text, (w.width - MeasureText(w.text)) * 0.5, (w.height - fy) / 2);
    }
    FrameLines(0, 0, w.width, w.height, c.norm);
}

// The box has an outline so that an unticked one reads too; a tick is the box in the hover colours.
void DrawCheckbox(const KYguiDialog& d, const KYguiWidget& w, int32_t fx, int32_t fy) {
    bool ticked = w.select != 0;
    if (w.hover == 1) ShadedBox(d.col_hover_norm, d.col_hover_bright, 1, 1, w.width - 1, fy - 1);
    PrintTextAt(w.text, 1.7 * fx + 1, 1);
    Colours c = Roles(d, ticked);
    ShadedBox(c.bright, c.norm, 3, 3, fy - 4, fy - 4);
    FrameLines(3, 3, fy - 4, fy - 4, d.col_norm);
}

void Diamond(double cx, double cy, double r, int32_t colour) {
    PolyBegin(-1);
    FlatCorner(cx, cy - r, colour);
    FlatCorner(cx - r, cy, colour);
    FlatCorner(cx, cy + r, colour);
    FlatCorner(cx + r, cy, colour);
    PolyEnd();
}

// Radio items have diamond marks, unlike the check box's square; the selected item is highlighted
// behind its text, which stays plain and readable.
void DrawRadio(const KYguiDialog& d, const KYguiWidget& w, int32_t fx, int32_t fy) {
    std::vector<RtString> items = SplitText(w.text, '|');
    for (int32_t i = 0; i < static_cast<int32_t>(items.size()); ++i) {
        int32_t y = i * fy;
        if (w.hover == i)
            ShadedBox(d.col_hover_norm, d.col_hover_bright, 1, y + 1, w.width - 1, fy - 1);
        else if (w.select == i)
            ShadedBox(d.col_hover_bright, d.col_hover_norm, 1, y + 1, w.width - 1, fy - 1);
        PrintTextAt(items[i], 1.7 * fx + 1, y);
        double r = (fy - 6) / 2.0, cx = 3 + r, cy = y + fy / 2.0;
        Diamond(cx, cy, r + 1, d.col_norm);
        Diamond(cx, cy, r, d.col_bright);
        if (w.select == i) Diamond(cx, cy, r / 2, 0);
    }
    FrameLines(0, 0, w.width, w.height, d.col_norm);
}

void DrawSlider(const KYguiDialog& d, const KYguiWidget& w) {
    Colours c = Roles(d, w.hover == 1);
    int32_t h = w.height;
    DrawFilledRect(0, h / 2, w.width, 3, c.norm);
    double range = w.maxval - w.minval;
    // Without a range the knob rests at the left; undefined positions saturate.
    double p = range == 0 ? 6 : (w.text.ToNumber() - w.minval) / range * (w.width - 12) + 6;
    double x = NumberToInt(p);
    PolyBegin(-1);
    FlatCorner(x, 0, c.bright);
    FlatCorner(x - 5, h / 3 + 1, c.bright);
    FlatCorner(x - 5, h - 2, c.norm);
    FlatCorner(x + 5, h - 2, c.norm);
    FlatCorner(x + 5, h / 3 + 1, c.bright);
    PolyEnd();
    FrameLines(0, 0, w.width, h, c.norm);
}

void DrawList(const KYguiDialog& d, KYguiWidget& w, int32_t fy) {
    std::vector<RtString> items = SplitText(w.text, '|');
    w.count = static_cast<int32_t>(items.size());
    for (int32_t i = std::max(0, w.scroll); i < w.count; ++i) {
        int32_t y = (i - w.scroll) * fy;
        if (y >= w.height) break;
        if (w.hover == i)
            ShadedBox(d.col_hover_norm, d.col_hover_bright, 1, y, w.width - 1, fy - 1);
        else if (w.select == i)
            ShadedBox(d.col_hover_bright, d.col_hover_norm, 1, y, w.width - 1, fy - 1);
        PrintTextAt(items[i], 4, y);
    }
    FrameLines(0, 0, w.width, w.height, d.col_norm);
    DrawScrollBar(d, w, 0, 0, w.width, w.height);
}

void DrawTextField(KYguiDialog& d, KYguiWidget& w, int32_t fx, int32_t fy) {
    if (w.readonly != 0) ShadedBox(d.col_norm, d.col_norm, 1, 1, w.width - 2, w.height - 2);
    DrawWrappedText(d, w, fx / 2, -w.scroll * fy, TextAreaWidth(w));
    DrawScrollBar(d, w, 0, 0, w.width, w.height);
    FrameLines(0, 0, w.width, w.height, d.col_norm);
}

void DrawFile(const KYguiDialog& d, const KYguiWidget& w, int32_t fy) {
    Colours c = Roles(d, w.hover == 1);
    ShadedBox(c.bright, c.norm, 0, 0, w.width, w.height);
    int32_t s = static_cast<int32_t>(std::lround(1.2 * fy));
    // A folder: a face with a tab on top and two light lines across it.
    ShadedBox(d.col_hover_bright, d.col_hover_norm, 1, 1 + s / 4, s, s - s / 4);
    DrawFilledRect(1, 1 + s / 8, s / 2, s / 8 + 1, d.col_hover_norm);
    DrawFilledRect(3, 1 + s / 2, s - 4, 1, 0xc0c0c0);
    DrawFilledRect(3, 1 + 3 * s / 4, s - 4, 1, 0xc0c0c0);
    std::string_view path = w.text.view();
    size_t slash = path.rfind('/');
    RtString name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    PrintTextAt(name, s + 3, 3);
    FrameLines(0, 0, w.width, w.height, c.norm);
}

void DrawTabs(const KYguiDialog& d, const KYguiWidget& w, int32_t fx) {
    ShadedBox(d.col_bright, d.col_bright, 0, 0, w.width, w.height - 1);
    std::vector<RtString> groups = SplitText(w.text, '|');
    double x = 2;
    for (int32_t k = 0; k < static_cast<int32_t>(groups.size()); ++k) {
        std::vector<RtString> parts = SplitText(groups[k], ',');
        RtString caption = parts.empty() ? RtString() : parts[0];
        int32_t tw = fx + MeasureText(caption);
        if (w.select == k) {
            ShadedBox(d.col_hover_bright, d.col_hover_norm, x, 1, tw, w.height);
            PrintTextAt(caption, x + fx / 2 - 1, 5);
            FrameLines(static_cast<int32_t>(x), 1, tw, w.height, d.col_hover_norm);
        }
        PrintTextAt(caption, x + fx / 2, 5);
        x += tw;
    }
    DrawFilledRect(0, w.height - 1, w.width - 1, 1, d.col_norm);
}

} // namespace

void DrawWidget(KYguiDialog& d, KYguiWidget& w) {
    int32_t fx, fy;
    CharSize(fx, fy);
    const RtString& type = w.type;
    if (type == "SPACER") return;
    if (type == "WIDGET") {
        SetBlendMode(-0.7);
        DrawWrappedText(d, w, 0, 0, w.width);
        SetBlendMode(0);
    } else if (type == "BUTTON") {
        DrawButton(d, w, fy);
    } else if (type == "CHECKBOX") {
        DrawCheckbox(d, w, fx, fy);
    } else if (type == "RADIO") {
        DrawRadio(d, w, fx, fy);
    } else if (type == "SLIDER") {
        DrawSlider(d, w);
    } else if (type == "LIST") {
        DrawList(d, w, fy);
    } else if (type == "TEXT") {
        DrawTextField(d, w, fx, fy);
    } else if (type == "FILE") {
        DrawFile(d, w, fy);
    } else if (type == "TAB") {
        DrawTabs(d, w, fx);
    } else {
        ShadedBox(0, 0xffffff, 0, 0, w.width, w.height);
        PrintTextAt("user: id=" + w.id, 0, 0);
    }
}
