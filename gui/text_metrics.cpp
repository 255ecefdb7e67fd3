// The character tables: fixed cells or glyphs measured by drawing and grabbing them; text width and
// proportional print.
#include "gui/text_metrics.h"

#include "gui/kygui_state.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"

namespace {

constexpr int32_t kMeasureKey = 0x8000ff;
constexpr int32_t kLastProbedSlot = 4000;

void FixedMetrics(KYguiState& k, int32_t fx) {
    k.proportional = 0;
    k.kern_offset.fill(0);
    k.char_width.fill(fx);
}

// The first two empty sprite slots from 1 up; false when there are not two.
bool FreeSlots(int32_t& probe, int32_t& glyph) {
    probe = glyph = 0;
    for (int32_t id = 1; id <= kLastProbedSlot; ++id) {
        int32_t w, h;
        SpriteGetSize(id, w, h);
        if (w != 0) continue;
        if (probe == 0)
            probe = id;
        else
            return glyph = id, true;
    }
    return false;
}

void MeasureGlyphs(KYguiState& k, int32_t fx, int32_t fy, int32_t probe, int32_t glyph) {
    DrawFilledRect(0, 0, fx, fy, 0xffffff);
    SpriteGrab(probe, 0, 0, 1, fy);
    k.proportional = 1;
    for (int32_t c = 0; c < 256; ++c) {
        DrawFilledRect(0, 0, fx + 2, fy + 2, kMeasureKey);
        TextPrint(Chr(c), 1, 1);
        SpriteGrab(glyph, 1, 1, fx, fy);
        int32_t first = -1, last = -1;
        for (int32_t x = 0; x < fx && first < 0; ++x)
            if (SpriteCollide(probe, x, 0, glyph, 0, 0)) first = x;
        for (int32_t x = fx - 1; x >= 0 && last < 0; --x)
            if (SpriteCollide(probe, x, 0, glyph, 0, 0)) last = x;
        int32_t width = first < 0 ? 0 : last - first + 2;
        if (width < 2) {
            k.char_width[c] = fx / 10 + 2;
            k.kern_offset[c] = 0;
        } else {
            k.char_width[c] = width;
            k.kern_offset[c] = first;
        }
    }
    SpriteLoad("", probe);
    SpriteLoad("", glyph);
}

} // namespace

void KYgui_font_kerning(double proportional) {
    KYguiState& k = KYgui();
    int32_t fx, fy;
    CharSize(fx, fy);
    k.tablesFilled = true;
    FixedMetrics(k, fx);
    int32_t probe, glyph;
    // Measuring in slot 0 would empty the program's sprite 0: without two free slots the cells stay fixed.
    if (proportional == 0 || !FreeSlots(probe, glyph)) return;
    Graphics2D& g = Gfx2d();
    int32_t spriteKey = g.spriteColourKey, fontKey = g.fontColourKey;
    SetColourKey(kMeasureKey);
    MeasureGlyphs(k, fx, fy, probe, glyph);
    // Fonts loaded later would show their black as boxes under the measuring key.
    g.spriteColourKey = spriteKey;
    g.fontColourKey = fontKey;
}

int32_t MeasureText(const RtString& text) {
    KYguiState& k = KYgui();
    if (k.proportional == 0) {
        int32_t fx, fy;
        CharSize(fx, fy);
        return static_cast<int32_t>(text.Length()) * fx;
    }
    int32_t width = 0;
    for (unsigned char c : text.view()) width += k.char_width[c];
    return width;
}

void PrintTextAt(const RtString& text, double x, double y) {
    KYguiState& k = KYgui();
    if (k.proportional == 0) return TextPrint(text, x, y);
    char one[2] = {0, 0};
    for (unsigned char c : text.view()) {
        one[0] = static_cast<char>(c);
        TextPrint(RtString(std::string_view(one, 1)), x - k.kern_offset[c], y);
        x += k.char_width[c];
    }
}
