// Shaded faces, flat or smooth, and cut-corner outlines.
#include "gui/shading.h"

#include "gui/kygui_state.h"
#include "runtime/files/system_services.h"
#include "runtime/gfx2d/gfx2d.h"

#include <cmath>

namespace {

int32_t Nearest(double v) { return static_cast<int32_t>(std::lround(v)); }

bool SmoothShading() {
    KYguiState& k = KYgui();
    if (k.smoothShading < 0) {
        RtString key = "GLEXT:glDrawRangeElements";
        k.smoothShading = SystemInfo(key).ToInt() != 0 ? 1 : 0;
    }
    return k.smoothShading != 0;
}

// One quad as a fan; colours a at the first edge, b at the opposite one.
void Quad(double x, double y, double w, double h, int32_t a, int32_t b, bool across) {
    PolyBegin(-1);
    if (across) { // a on the top edge, b on the bottom
        FlatCorner(x, y, a);
        FlatCorner(x, y + h, b);
        FlatCorner(x + w, y + h, b);
        FlatCorner(x + w, y, a);
    } else { // a on the left edge, b on the right
        FlatCorner(x, y, a);
        FlatCorner(x, y + h, a);
        FlatCorner(x + w, y + h, b);
        FlatCorner(x + w, y, b);
    }
    PolyEnd();
}

} // namespace

void FlatCorner(double x, double y, int32_t colour) { PolyVertex(x, y, 0, 0, colour); }

void ShadedBox(int32_t c1, int32_t c2, double x, double y, double w, double h) {
    bool tall = w < 0.65 * h;
    if (!SmoothShading()) {
        // The second part runs to the face's far edge: rounding its own size left a line unpainted there.
        int32_t left = static_cast<int32_t>(x), top = static_cast<int32_t>(y);
        if (tall) {
            int32_t split = static_cast<int32_t>(x + 0.7 * w);
            DrawFilledRect(left, top, Nearest(0.7 * w), Nearest(h), c1);
            DrawFilledRect(split, top, left + Nearest(w) - split, Nearest(h), c2);
        } else {
            int32_t split = static_cast<int32_t>(y + 0.7 * h);
            DrawFilledRect(left, top, Nearest(w), Nearest(0.7 * h), c1);
            DrawFilledRect(left, split, Nearest(w), top + Nearest(h) - split, c2);
        }
        return;
    }
    if (tall) {
        Quad(x, y, 0.7 * w, h, c1, c1, false);
        Quad(x + 0.7 * w, y, 0.3 * w, h, c1, c2, false);
    } else {
        Quad(x, y, w, 0.7 * h, c1, c1, true);
        Quad(x, y + 0.7 * h, w, 0.3 * h, c1, c2, true);
    }
}

void FrameLines(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
    DrawFilledRect(x + 1, y, w - 2, 1, colour);
    DrawFilledRect(x, y + 1, 1, h - 2, colour);
    DrawFilledRect(x + w - 1, y + 1, 1, h - 2, colour);
    DrawFilledRect(x + 1, y + h - 1, w - 2, 1, colour);
}
