// Bitmap fonts: loading into the font slots with the built-in fallback, the cell grid, and text
// collected in the quad batch.
#include "runtime/gfx2d/bitmap_font.h"

#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/builtin_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/name_resolution.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/sprite_store.h"
#include "runtime/gfx2d/texture_upload.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <string>

namespace {

// A smaller picture has cells of 0 pixels: every glyph would vanish and the cell size be 0.
constexpr int32_t kMinFontWidth = 16;
constexpr int32_t kMinFontHeight = 8;

int32_t ClampFont(int32_t font) { return std::clamp(font, 0, kFontCount - 1); }

const SpriteSlot& FontSlot(int32_t font) { return *SlotOf(kFirstFontSprite + font); }

// A square picture holds 16 x 16 glyphs: 16 rows from width = height on, not only above it, so that a
// 256 x 256 font has 16-pixel cells rather than 32-pixel-high ones with half its glyphs lost.
bool Has256Glyphs(const SpriteSlot& slot) { return slot.width <= slot.height; }

} // namespace

// Never destroyed, like every record the program end may still reach.
FontState& Fonts() {
    static FontState* state = new FontState;
    return *state;
}

void FontBuildDefault(int32_t font) {
    int32_t id = kFirstFontSprite + ClampFont(font);
    SpriteFree(id);
    ImageRGBA image;
    ImagePrepare(image, kBuiltinFontWidth, kBuiltinFontHeight);
    PaintBuiltinFont(image.pixels.data());
    SpriteSlot& slot = *SlotOf(id);
    TextureUpload(image, 0, 0, 0, 0, slot.texture, nullptr, false, true);
    slot.texWidth = slot.width = kBuiltinFontWidth;
    slot.texHeight = slot.height = kBuiltinFontHeight;
}

void FontLoad(const RtString& name, int32_t font) {
    font = ClampFont(font);
    Fonts().currentFont = font;
    int32_t id = kFirstFontSprite + font;
    std::string path;
    bool loaded = ResolveFileName(name, path) && SpriteLoadInto(id, path, Gfx2d().fontColourKey, false);
    const SpriteSlot& slot = FontSlot(font);
    if (!loaded || slot.width < kMinFontWidth || slot.height < kMinFontHeight) {
        // Text still shows, in the built-in font; the log says which image a program went without.
        if (name.Length() > 0)
            WriteErrorLog(("Font image not loaded, the built-in font stands in: " + std::string(name.view())).c_str());
        FontBuildDefault(font);
    }
}

void FontSelect(int32_t font) { Fonts().currentFont = ClampFont(font); }

void FontGetSize(int32_t& width, int32_t& height) {
    const SpriteSlot& slot = FontSlot(Fonts().currentFont);
    width = slot.width / 16;
    height = Has256Glyphs(slot) ? slot.height / 16 : slot.height / 8;
}

void FontGetSize(double& width, double& height) {
    int32_t w, h;
    FontGetSize(w, h);
    width = w;
    height = h;
}

void PrintText(int32_t font, const RtString& text, double x, double y, float z) {
    uint32_t n = text.Length();
    font = ClampFont(font);
    const SpriteSlot& slot = FontSlot(font);
    if (n == 0 || slot.width <= 0) return;
    BindSpriteTexture(kFirstFontSprite + font, -1, false);

    float du = static_cast<float>(slot.width) / static_cast<float>(slot.texWidth) * 0.0625f;
    bool glyphs256 = Has256Glyphs(slot);
    int rows = glyphs256 ? 16 : 8;
    int codes = glyphs256 ? 256 : 128;
    float ch = static_cast<float>(glyphs256 ? slot.height >> 4 : slot.height >> 3);
    float dv = static_cast<float>(slot.height) / static_cast<float>(slot.texHeight) * (glyphs256 ? 0.0625f : 0.125f);
    float cw = static_cast<float>(slot.width >> 4);

    float x0 = static_cast<float>(std::ceil(x)), y0 = static_cast<float>(std::ceil(y));
    GlBatchVertex* v = GlBatchQuads(GL_QUADS, static_cast<size_t>(n) * 4);
    for (uint32_t i = 0; i < n; ++i, v += 4, x0 += cw) {
        // Bytes above 127 wrap onto the first half of a 128-glyph font.
        int code = static_cast<int>(static_cast<unsigned>(text.CharAt(i)) % static_cast<unsigned>(codes));
        float uc = static_cast<float>(code % 16) * du;
        float vc = static_cast<float>(rows - 1 - code / 16) * dv;
        v[0] = {x0, y0 + ch, z, uc, vc};
        v[1] = {x0 + cw, y0 + ch, z, uc + du, vc};
        v[2] = {x0 + cw, y0, z, uc + du, vc + dv};
        v[3] = {x0, y0, z, uc, vc + dv};
    }
}

void TextPrint(const RtString& text, double x, double y) { PrintText(Fonts().currentFont, text, x, y, 0.0f); }

void TextPrintNumber(double number, double x, double y) { TextPrint(RtString(number), x, y); }

void DrawLoadingText() {
    FontLoad("", 0);
    FontLoad("smalfont.bmp", 0);
    PrintLoadingText();
}

void PrintLoadingText() {
    int32_t cw, ch;
    FontGetSize(cw, ch);
    const RtString text = "Loading...";
    OpenGLVividoru& device = Device();
    TextPrint(text, (device.width - static_cast<double>(text.Length()) * cw) * 0.5, (device.height - ch) * 0.5);
}
