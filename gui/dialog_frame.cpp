// The frame pass of one dialog and its flow layout.
#include "gui/dialog_frame.h"

#include "gui/focus_ring.h"
#include "gui/kyshow_input.h"
#include "gui/scroll_bar.h"
#include "gui/shading.h"
#include "gui/text_metrics.h"
#include "gui/widget_handlers.h"
#include "gui/widget_looks.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int32_t kSpacing = 2;
constexpr double kTooltipRestMs = 500;

struct Pointer {
    int32_t x, y, button1, button2;
    int32_t event;
    int32_t prevX, prevY; // where the pointer was in the previous frame of the active dialog
};

void DrawTooltip(const KYguiDialog& d, const RtString& tip, int32_t cx, int32_t cy, int32_t cw) {
    int32_t fx, fy;
    CharSize(fx, fy);
    SetViewport(0, 0, 0, 0);
    std::vector<RtString> lines = SplitText(tip, '\n');
    int32_t tw = 0, th = fy;
    if (lines.size() == 1) {
        tw = std::max(cw, MeasureText(lines[0]));
    } else {
        for (const RtString& line : lines) tw = std::max(tw, MeasureText(line));
        th = static_cast<int32_t>(lines.size()) * fy;
    }
    int32_t bx = std::max(0, static_cast<int32_t>((cw - tw) * 0.5 + cx - 1));
    int32_t by = std::max(0, cy - th - 2);
    SetBlendMode(-0.7);
    DrawFilledRect(bx, by, tw + 2, th + 2, d.col_hover_bright);
    SetBlendMode(0);
    FrameLines(bx, by, tw + 2, th + 2, d.col_norm);
    for (size_t i = 0; i < lines.size(); ++i)
        PrintTextAt(lines[i], bx + 1 + (tw - MeasureText(lines[i])) * 0.5, by + 1 + static_cast<int32_t>(i) * fy);
}

void TitleDrag(KYguiDialog& d, const Pointer& p, int32_t fy) {
    if (!p.button1) {
        d.moving = 0;
        return;
    }
    bool inTitle = p.x >= d.xpos && p.x < d.xpos + d.frame.width && p.y >= d.ypos && p.y < d.ypos + fy;
    if (!inTitle && d.moving != 1) return;
    d.moving = 1;
    d.xpos = std::max(0, d.xpos + p.x - p.prevX);
    d.ypos = std::max(0, d.ypos + p.y - p.prevY);
}

bool InGrip(const KYguiDialog& d, const Pointer& p, int32_t frameY, int32_t fy) {
    int32_t gx = d.xpos + d.frame.width - fy - 4, gy = frameY + d.frame.height - fy - 4;
    return p.x >= gx && p.x < gx + fy + 4 && p.y >= gy && p.y < gy + fy + 4;
}

void GripDrag(KYguiDialog& d, const Pointer& p, int32_t frameY, int32_t fy) {
    KYguiState& k = KYgui();
    if (!p.button1) {
        k.resizing = 0;
        return;
    }
    if (!InGrip(d, p, frameY, fy) && k.resizing == 0) return;
    k.resizing = 1;
    d.frame.width = std::max(0, d.frame.width + p.x - p.prevX);
    d.frame.height = std::max(0, d.frame.height + p.y - p.prevY);
}

void DrawGrip(int32_t right, int32_t bottom, int32_t fy, int32_t colour) {
    for (int32_t pair = 1; pair <= 3; ++pair) {
        int32_t dist = fy * pair / 3;
        for (int32_t line = 0; line < 2; ++line) {
            int32_t r = right - 5 - line, b = bottom - 5;
            DrawLine(r - dist, b, r, b - dist, colour);
        }
    }
}

struct Row {
    int32_t x0, y0, width, height; // the content area
    int32_t top;                   // where the rows start: y0 less the scroll offset
    int32_t cx, cy, rh;
};

// A widget that does not fit beside the ones before opens the next row.
void BreakIfFull(Row& row, int32_t w, int32_t h) {
    if (row.cx + w <= row.x0 + row.width) return;
    row.cx = row.x0;
    row.cy += row.rh + kSpacing;
    row.rh = h;
}

void Advance(Row& row, int32_t cw, int32_t h) {
    row.cx += cw + kSpacing;
    row.rh = std::max(row.rh, h);
}

void LayOut(KYguiDialog& d, bool active, bool draw, Row& row, const Pointer& p, bool tooltips, const FocusKeys& keys) {
    for (size_t k = 0; k < d.draw_order.size(); ++k) {
        int32_t index = static_cast<int32_t>(d.draw_order[k].index);
        if (index < 0 || index >= static_cast<int32_t>(d.widgets.size())) continue;
        if (d.widgets[index].hide != 0) continue;
        int32_t w = d.widgets[index].width, h = d.widgets[index].height;
        BreakIfFull(row, w, h);
        bool focused = active && d.widgets[index].id == d.focus;
        if (active) {
            RtString id = d.draw_order[k].id;
            // A key's activation is the release of a click inside the widget.
            if ((focused && keys.activate) || (keys.confirm && id == d.defaultButton))
                HandleWidget(d, index, 1, 1, 1, 0);
            else
                HandleWidget(d, index, p.x - row.cx, p.y - row.cy, p.event, p.button2);
            // Handlers may create widgets (tab groups, application hooks): look the widget up again.
            index = FindWidget(d, id, false);
            if (index < 0) continue;
            if (focused) {
                ApplyFocusKeys(d, index, keys);
                index = FindWidget(d, id, false);
                if (index < 0) continue;
            }
            h = d.widgets[index].height;
        }
        KYguiWidget& widget = d.widgets[index];
        int32_t cw = std::min(w, row.x0 + row.width - row.cx);
        int32_t ch = std::min(h, row.y0 + row.height - row.cy);
        if (draw && cw > 0 && ch > 0 && row.cy >= row.y0) {
            SetViewport(row.cx, row.cy, cw, ch);
            DrawWidget(d, widget);
            if (focused && widget.type != "TEXT" && Focusable(widget)) DrawFocusMark(widget);
            if (tooltips && PointerOver(widget) && widget.tiptext.Length() > 0)
                DrawTooltip(d, widget.tiptext, row.cx, row.cy, cw);
        }
        Advance(row, cw, h);
    }
}

} // namespace

// Lists and radio groups keep the item under the pointer in HOVER, -1 for none, so their item 0 is
// hovered too and -1 is not.
bool PointerOver(const KYguiWidget& w) {
    if (w.type == "LIST" || w.type == "RADIO") return w.hover >= 0;
    return w.hover != 0;
}

bool PointerRested(double now) { return now - KYgui().restTime > kTooltipRestMs; }

int32_t DrawDialog(KYguiDialog& d, bool active, bool draw) {
    KYguiState& k = KYgui();
    int32_t fx, fy;
    CharSize(fx, fy);
    Pointer p{};
    MouseGetState(p.x, p.y, p.button1, p.button2);
    double now = ReadClockMs();
    if (std::abs(p.x - k.restX) > 4 || std::abs(p.y - k.restY) > 4) {
        k.restTime = now;
        k.restX = p.x;
        k.restY = p.y;
    }
    if (active) {
        p.event = ClickEvent(p.x, p.y, p.button1);
        k.wheelTaken = false;
    }
    p.prevX = k.prevX;
    p.prevY = k.prevY;
    if (draw) SetViewport(0, 0, 0, 0);

    bool titled = d.moveable != 0 || d.frame.text.Length() > 0;
    if (titled && active && d.moveable != 0) TitleDrag(d, p, fy);
    int32_t X = d.xpos, Y = d.ypos;
    if (titled && draw) {
        DrawFilledRect(X, Y, d.frame.width, fy + 4, d.col_bright);
        DrawFilledRect(X + 2, Y + 2, d.frame.width - 4, fy - 1, d.col_norm);
        PrintTextAt(d.frame.text, X + 3, Y + 2);
        PrintTextAt(d.frame.text, X + 4, Y + 2);
    }
    if (titled) Y += fy + 4;
    if (active && d.scaleable != 0) GripDrag(d, p, Y, fy);
    if (active) {
        k.prevX = p.x;
        k.prevY = p.y;
    }
    int32_t W = d.frame.width, H = d.frame.height;
    if (draw) {
        FrameLines(X, Y, W, H, d.col_norm);
        FrameLines(X + 1, Y + 1, W - 2, H - 2, d.col_norm);
        ShadedBox(d.col_bright, d.col_bright, X + 2, Y + 2, W - 4, H - 4);
        if (d.scaleable != 0) DrawGrip(X + W, Y + H, fy, InGrip(d, p, Y, fy) ? d.col_hover_norm : d.col_norm);
    }

    Row row{X + 5, Y + 5, W - 10, H - 10, Y + 5, 0, 0, 0};
    if (active) {
        d.frame.scroll_range = std::max(0, (d.content_height - row.height) / (2 * fy));
        if (HandleScrollBar(d, d.frame, p.x - row.x0, p.y - row.y0, p.event, row.width, row.height)) {
            if (draw) DrawScrollBar(d, d.frame, row.x0, row.y0, row.width, row.height);
            row.width -= static_cast<int32_t>(1.5 * fx);
            row.top -= 2 * fy * d.frame.scroll;
        }
    }
    if (d.draw_order.size() != d.widgets.size())
        DebugOutput("Draw order is messed up " + RtString(static_cast<int32_t>(d.draw_order.size())) + "/" +
                    RtString(static_cast<int32_t>(d.widgets.size())) + "\n");
    bool tooltips = PointerRested(now);
    row.cx = row.x0;
    row.cy = row.top;
    FocusKeys keys = active ? ReadFocusKeys(d) : FocusKeys{};
    if (active) k.cancel = keys.cancel;
    LayOut(d, active, draw, row, p, tooltips, keys);
    if (active) WheelScroll(d.frame, p.x >= X && p.x < X + W && p.y >= Y && p.y < Y + H);

    if (draw) SetViewport(0, 0, 0, 0);
    if (!active && draw) {
        SetBlendMode(-0.5);
        DrawFilledRect(X, d.ypos, W, H + (titled ? fy + 4 : 0), 0);
        SetBlendMode(0);
    }
    MouseShowPointer(1);
    if (active) ServeRequests(d);
    int32_t content = row.cy + 2 + row.rh - row.top;
    if (active) d.content_height = content;
    return std::max(content, H);
}

void FitDialogHeight(KYguiDialog& d) {
    int32_t fx, fy, sw, sh;
    CharSize(fx, fy);
    GetScreenSize(sw, sh);
    // The handlers give static texts and radio groups their heights.
    for (size_t i = 0; i < d.widgets.size(); ++i)
        if (d.widgets[i].type == "WIDGET" || d.widgets[i].type == "RADIO")
            HandleWidget(d, static_cast<int32_t>(i), -1, -1, 0, 0);
    Row row{0, 0, d.frame.width - 10, 0, 0, 0, 0, 0};
    for (const KYguiDrawOrder& entry : d.draw_order) {
        const KYguiWidget& w = d.widgets[static_cast<size_t>(entry.index)];
        if (w.hide != 0) continue;
        BreakIfFull(row, w.width, w.height);
        Advance(row, std::min(w.width, row.width - row.cx), w.height);
    }
    bool titled = d.moveable != 0 || d.frame.text.Length() > 0;
    int32_t room = sh - d.ypos - (titled ? fy + 4 : 0);
    d.frame.height = std::min(row.cy + 2 + row.rh + 10, std::max(room, 0));
}
