// The text engine: one walk over the text and a trailing space, wrapping at blanks and line feeds.
#include "gui/text_engine.h"

#include "runtime/gfx2d/gfx2d.h"

#include <algorithm>

namespace {

bool Blank(unsigned char c) { return c == ' ' || c == '\t'; }

// Calls visit(index, c, x, y) for every character of text + " " with the pen where it is printed; a
// line feed is visited at the end of its line and not printed. Stops early when visit returns false.
// Returns the pen's last y.
template <typename Visit>
double WalkText(const RtString& text, double x0, double y0, int32_t width, Visit visit) {
    const KYguiState& k = KYgui();
    int32_t fx, fy;
    CharSize(fx, fy);
    std::string_view s = text.view();
    size_t n = s.size();
    auto at = [&](size_t i) -> unsigned char { return i < n ? static_cast<unsigned char>(s[i]) : ' '; };
    double x = x0, y = y0;
    for (size_t i = 0; i <= n; ++i) {
        unsigned char c = at(i);
        if (Blank(c)) {
            int32_t word = 0;
            for (size_t j = i + 1; j <= n && !Blank(at(j)); ++j) word += k.char_width[at(j)];
            // A word starts after the blank's own advance; a blank with no word after it wraps nothing.
            int32_t need = word > 0 ? k.char_width[c] + word : 0;
            if (x + need - x0 > width) {
                x = x0;
                y += fy;
            }
        }
        if (!visit(static_cast<int32_t>(i), c, x, y)) return y;
        if (c == '\n') {
            x = x0;
            y += fy;
            continue;
        }
        x += k.char_width[c];
    }
    return y;
}

} // namespace

int32_t DrawWrappedText(KYguiDialog& dialog, KYguiWidget& widget, double x0, double y0, int32_t width) {
    const KYguiState& k = KYgui();
    int32_t fx, fy;
    CharSize(fx, fy);
    bool focused = dialog.focus == widget.id;
    if (!focused) widget.selstart = widget.selend = -1;
    // Programs may write any selection; the engine only ever sees one inside the text.
    int32_t length = static_cast<int32_t>(widget.text.Length());
    int32_t a = focused ? std::clamp(widget.selstart, 0, length) : -1;
    int32_t b = focused ? std::clamp(widget.selend, 0, length) : -1;
    int32_t cursor = b;
    if (b < a) std::swap(a, b);
    char one[2] = {0, 0};
    double last = WalkText(widget.text, x0, y0, width, [&](int32_t i, unsigned char c, double x, double y) {
        if (c != '\n') {
            one[0] = static_cast<char>(c);
            TextPrint(RtString(std::string_view(one, 1)), x - k.kern_offset[c], y);
        }
        if (a != b && i >= a && i < b) {
            SetBlendMode(-0.3);
            DrawFilledRect(static_cast<int32_t>(x), static_cast<int32_t>(y), k.char_width[c], fy, 0);
            SetBlendMode(0);
        }
        if (focused && i == cursor) {
            SetBlendMode(-0.5);
            DrawFilledRect(static_cast<int32_t>(x) - 1, static_cast<int32_t>(y), 2, fy, 0);
            SetBlendMode(0);
            widget.cursor_x = static_cast<int32_t>(x + k.char_width[c] / 2);
            widget.cursor_y = static_cast<int32_t>(y + fy / 2);
        }
        return true;
    });
    return static_cast<int32_t>(last + fy - y0);
}

int32_t WrappedTextHeight(const RtString& text, int32_t width) {
    int32_t fx, fy;
    CharSize(fx, fy);
    double last = WalkText(text, 0, 0, width, [](int32_t, unsigned char, double, double) { return true; });
    return static_cast<int32_t>(last + fy);
}

int32_t HitTestText(const RtString& text, int32_t width, double px, double py) {
    const KYguiState& k = KYgui();
    int32_t fx, fy;
    CharSize(fx, fy);
    int32_t found = static_cast<int32_t>(text.Length());
    WalkText(text, 0, 0, width, [&](int32_t i, unsigned char c, double x, double y) {
        if (y >= py - fy && (x >= px - 1.5 * k.char_width[c] || c == '\n')) {
            found = i;
            return false;
        }
        return true;
    });
    return std::min(found, static_cast<int32_t>(text.Length()));
}

int32_t TextLineOf(const RtString& text, int32_t width, int32_t index) {
    int32_t fx, fy;
    CharSize(fx, fy);
    double line = 0;
    WalkText(text, 0, 0, width, [&](int32_t i, unsigned char, double, double y) {
        line = y;
        return i < index;
    });
    return static_cast<int32_t>(line) / fy;
}
