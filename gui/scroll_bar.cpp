// Scroll bars: up and down boxes, a thumb captured through the dialog's focus, and the wheel.
#include "gui/scroll_bar.h"

#include "gui/shading.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"

#include <algorithm>

namespace {

// The thumb's length on a track: at least 2 pixels.
int32_t ThumbLength(int32_t track, int32_t range) { return std::max(2, track / (range + 1)); }

void Arrow(double x, double y, double w, double h, bool up, int32_t tip, int32_t base) {
    double cx = x + w / 2;
    PolyBegin(-1);
    if (up) {
        FlatCorner(cx, y + h * 0.25, tip);
        FlatCorner(x + w * 0.2, y + h * 0.75, base);
        FlatCorner(x + w * 0.8, y + h * 0.75, base);
    } else {
        FlatCorner(cx, y + h * 0.75, tip);
        FlatCorner(x + w * 0.8, y + h * 0.25, base);
        FlatCorner(x + w * 0.2, y + h * 0.25, base);
    }
    PolyEnd();
}

} // namespace

bool HandleScrollBar(KYguiDialog& dialog, KYguiWidget& widget, int32_t lx, int32_t ly, int32_t event, int32_t w,
                     int32_t h) {
    int32_t fx, fy;
    CharSize(fx, fy);
    int32_t& scroll = widget.scroll;
    int32_t range = widget.scroll_range;
    if (scroll > range + 1) scroll = range + 1;
    if (range <= 0) {
        scroll = 0;
        widget.scroll_range = 0;
        return false;
    }
    RtString capture = "SB" + widget.id;
    double column = w - 1.5 * fx;
    if (&widget != &dialog.frame) WheelScroll(widget, lx >= 0 && lx < w && ly >= 0 && ly < h);
    bool live = (lx >= column && lx < w && ly > 0 && ly <= h) || dialog.focus == capture;
    if (!live) return true;
    scroll = std::clamp(scroll, 0, range);
    bool held = MouseGetAxis(3) != 0;
    if (event == 0 && !held && dialog.focus == capture) dialog.focus = "";
    if (h > 3 * fy) {
        if (event == 1 && ly < fy) --scroll;
        if (event == 1 && ly >= h - fy) ++scroll;
        if (event == -1 && ly >= fy && ly < h - fy) dialog.focus = capture;
        if (dialog.focus == capture && held) {
            int32_t track = h - 2 * fy;
            int32_t free = std::max(1, track - ThumbLength(track, range));
            // The pointer may be dragged far past the track; the thumb stops at its ends.
            scroll = std::clamp((ly - fy) * (range + 1) / free, 0, range);
        }
    } else if (event == 1) {
        scroll += ly * 2 < h ? -1 : 1;
    }
    scroll = std::max(0, scroll);
    return true;
}

// Turned away from the user the wheel shows earlier lines, as on every desktop. The innermost
// scrolled thing under the pointer takes a frame's wheel: widgets are handled before the dialog's own.
// Widgets with nothing to scroll never get here, and the dialog's own clamp holds it at 0.
void WheelScroll(KYguiWidget& widget, bool over) {
    KYguiState& k = KYgui();
    double wheel = MouseGetAxis(2);
    if (!over || wheel == 0 || k.wheelTaken) return;
    k.wheelTaken = true;
    widget.scroll = std::clamp(widget.scroll + (wheel > 0 ? -1 : 1), 0, widget.scroll_range);
}

void DrawScrollBar(const KYguiDialog& dialog, const KYguiWidget& widget, int32_t x, int32_t y, int32_t w, int32_t h) {
    int32_t range = widget.scroll_range;
    if (range <= 0) return;
    int32_t fx, fy;
    CharSize(fx, fy);
    double column = 1.5 * fx;
    double left = x + w - column;
    int32_t scroll = widget.scroll;
    if (h <= 3 * fy) {
        int32_t thumb = ThumbLength(h, range);
        double top = std::min<double>(h - thumb, static_cast<double>(h) * scroll / (range + 1));
        ShadedBox(dialog.col_hover_bright, dialog.col_hover_norm, left, y + top, column, thumb);
        return;
    }
    ShadedBox(dialog.col_bright, dialog.col_norm, left, y, column, fy + 1);
    ShadedBox(dialog.col_bright, dialog.col_norm, left, y + h - fy - 1, column, fy + 1);
    int32_t track = h - 2 * fy;
    int32_t thumb = ThumbLength(track, range);
    double top = std::min<double>(track - thumb, static_cast<double>(track) * scroll / (range + 1));
    ShadedBox(dialog.col_hover_bright, dialog.col_hover_norm, left, y + fy + top, column, thumb);
    if (scroll > 0) Arrow(left, y, column, fy + 1, true, dialog.col_bright, dialog.col_hover_norm);
    if (scroll < range + 1)
        Arrow(left, y + h - fy - 1, column, fy + 1, false, dialog.col_bright, dialog.col_hover_norm);
}
