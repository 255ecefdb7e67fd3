// Sprite and animation-frame drawing, and the texture binding and quad they share.
#include "runtime/gfx2d/sprite_draw.h"

#include "runtime/core/gl_extensions.h"
#include "runtime/core/gl_state.h"
#include "runtime/core/number_convert.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// Slots without a texture draw nothing rather than whatever texture name 0 shows.
const SpriteSlot* DrawableSlot(int32_t id) {
    const SpriteSlot* slot = SlotOf(id);
    return slot && slot->texture && slot->texWidth > 0 && slot->texHeight > 0 ? slot : nullptr;
}

struct FrameCell {
    int32_t width, height;
    float uL, uR, vB, vT;
};

// A frame size of 0, or one wider than the image (no columns), has no cells.
bool FindFrameCell(const SpriteSlot& slot, int32_t frame, FrameCell& cell) {
    if (slot.frameWidth == 0 || slot.frameHeight == 0) return false;
    int64_t columns = slot.width / slot.frameWidth;
    if (columns == 0) return false;
    float texWidth = slot.texWidth, texHeight = slot.texHeight;
    cell.width = slot.frameWidth;
    cell.height = slot.frameHeight;
    float du = cell.width / texWidth;
    cell.uL = static_cast<float>(frame % columns) * du;
    cell.uR = cell.uL + du;
    cell.vB = static_cast<float>(slot.height - static_cast<int64_t>(cell.height) * (frame / columns + 1)) / texHeight;
    cell.vT = cell.vB + cell.height / texHeight;
    return true;
}

void DrawStretched(const SpriteSlot& slot, float x, float y, float w, float h) {
    float u = static_cast<float>(slot.width) / slot.texWidth;
    float v = static_cast<float>(slot.height) / slot.texHeight;
    // Face culling is on: a quad mirrored on one axis turns its back and would vanish.
    bool mirrored = (w < 0) != (h < 0);
    if (mirrored) GlFrontFace(GL_CW);
    ApplySmoothing();
    DrawTexturedQuad({{x, y + h, 0, 0}, {x + w, y + h, u, 0}, {x + w, y, u, v}, {x, y, 0, v}});
    if (mirrored) GlFrontFace(GL_CCW);
}

void BindTextures(int32_t id, uint32_t texture, int32_t secondId, bool useMipTexture) {
    Graphics2D& g = Gfx2d();
    g.boundSprite = id;
    g.boundSecondSprite = secondId;
    g.boundMipTexture = useMipTexture;
    bool multitexture = GlExt().glActiveTextureARB != nullptr;
    if (multitexture) {
        const SpriteSlot* second = SlotOf(secondId);
        if (second) GlBindTexture(1, useMipTexture ? second->mipTexture : second->texture);
        GlEnableTexture(1, second != nullptr);
    }
    if (!SlotOf(id)) {
        GlEnableTexture(0, false);
        if (!multitexture) {
            GlFlushQuads();
            glEnable(GL_COLOR_MATERIAL);
        }
        return;
    }
    GlBindTexture(0, texture);
    GlEnableTexture(0, true);
}

// Where the sprite's own texture lies in the texture bound for it: u0 + u * uScale.
struct TexturePlace {
    float u0 = 0, v0 = 0, uScale = 1, vScale = 1;
};

// The plain and frame draws take the sprite from its atlas cell when it has one, so runs of different
// sprites of one atlas stay in one batch. They draw one texel to a pixel: while the matrices put texel
// centres on pixel centres, nearest sampling gives the pixels linear sampling would, for less work.
TexturePlace BindForBatch(int32_t id) {
    const AtlasCell* cell = AtlasCellOf(id);
    if (!cell) {
        BindSpriteTexture(id, -1, false);
        ApplySmoothing();
        return {};
    }
    BindTextures(id, AtlasTexture(*cell), -1, false);
    GlTextureFilter(Gfx2d().smoothing && !GlPixelAligned() ? GL_LINEAR : GL_NEAREST);
    float side = static_cast<float>(AtlasSide());
    return {static_cast<float>(cell->x + 1) / side, static_cast<float>(cell->y + 1) / side,
            static_cast<float>(cell->texWidth) / side, static_cast<float>(cell->texHeight) / side};
}

// The vertex order of the plain and frame draws: top-right, top-left, bottom-left, bottom-right.
void BatchQuad(const TexturePlace& place, float left, float top, float right, float bottom, float uL, float uR,
               float vB, float vT) {
    uL = place.u0 + uL * place.uScale;
    uR = place.u0 + uR * place.uScale;
    vB = place.v0 + vB * place.vScale;
    vT = place.v0 + vT * place.vScale;
    GlBatchVertex* v = GlBatchQuads(GL_QUADS, 4);
    v[0] = {right, top, 0, uR, vT};
    v[1] = {left, top, 0, uL, vT};
    v[2] = {left, bottom, 0, uL, vB};
    v[3] = {right, bottom, 0, uR, vB};
}

} // namespace

void BindSpriteTexture(int32_t id, int32_t secondId, bool useMipTexture) {
    const SpriteSlot* slot = SlotOf(id);
    BindTextures(id, slot ? (useMipTexture ? slot->mipTexture : slot->texture) : 0, secondId, useMipTexture);
}

void DrawTexturedQuad(const QuadVertex (&corners)[4]) {
    // The fan's two triangles, in the order GL takes them from a fan.
    GlBatchVertex* v = GlBatchQuads(GL_TRIANGLES, 6);
    for (int i : {0, 1, 2, 0, 2, 3}) *v++ = {corners[i].x, corners[i].y, 0, corners[i].u, corners[i].v};
}

void ApplySmoothing() { GlTextureFilter(Gfx2d().smoothing ? GL_LINEAR : GL_NEAREST); }

void ResetViewport2D() {
    Gfx2d().smoothing = true;
    BindSpriteTexture(-1, -1, false);
}

void SpriteDraw(int32_t id, int32_t x, int32_t y) {
    const SpriteSlot* slot = DrawableSlot(id);
    if (!slot) return;
    TexturePlace place = BindForBatch(id);
    float u = static_cast<float>(slot->width) / slot->texWidth;
    float v = static_cast<float>(slot->height) / slot->texHeight;
    BatchQuad(place, static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + slot->width),
              static_cast<float>(y + slot->height), 0, u, 0, v);
}

void SpriteDrawStretched(int32_t id, int32_t x, int32_t y, int32_t width, int32_t height) {
    const SpriteSlot* slot = DrawableSlot(id);
    if (!slot) return;
    BindSpriteTexture(id, -1, false);
    DrawStretched(*slot, static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
                  static_cast<float>(height));
}

void SpriteDrawZoomed(int32_t id, int32_t x, int32_t y, double scaleX, double scaleY) {
    const SpriteSlot* slot = DrawableSlot(id);
    if (!slot) return;
    float w = static_cast<float>(slot->width * scaleX);
    float h = static_cast<float>(slot->height * scaleY);
    int32_t left = NumberToInt(x - (w - slot->width) * 0.5);
    int32_t top = NumberToInt(y - (h - slot->height) * 0.5);
    SpriteDrawStretched(id, left, top, NumberToInt(w), NumberToInt(h));
}

void SpriteDrawRotated(int32_t id, int32_t x, int32_t y, double angle) { SpriteDrawRotoZoomed(id, x, y, angle, 1); }

void SpriteDrawRotoZoomed(int32_t id, int32_t x, int32_t y, double angle, double scale) {
    const SpriteSlot* slot = DrawableSlot(id);
    if (!slot) return;
    float hw = static_cast<float>(slot->width * scale * 0.5);
    float hh = static_cast<float>(slot->height * scale * 0.5);
    // Half a texel in from the edges, so filtering never reaches the neighbouring texels.
    float ua = 0.5f / slot->texWidth, ub = (slot->width - 0.5f) / slot->texWidth;
    float va = 0.5f / slot->texHeight, vb = (slot->height - 0.5f) / slot->texHeight;
    BindSpriteTexture(id, -1, false);
    ApplySmoothing();
    // The matrix turns this one quad: what was collected before draws without it.
    GlFlushQuads();
    glPushMatrix();
    glTranslatef(static_cast<float>(x + (slot->width >> 1)), static_cast<float>(y + (slot->height >> 1)), 0);
    glRotatef(static_cast<float>(angle), 0, 0, -1);
    DrawTexturedQuad({{-hw, hh, ua, va}, {hw, hh, ub, va}, {hw, -hh, ub, vb}, {-hw, -hh, ua, vb}});
    GlFlushQuads();
    glPopMatrix();
}

void FrameDraw(int32_t id, int32_t frame, int32_t x, int32_t y) {
    const SpriteSlot* slot = DrawableSlot(id);
    FrameCell c;
    if (!slot || !FindFrameCell(*slot, frame, c)) return;
    TexturePlace place = BindForBatch(id);
    BatchQuad(place, static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + c.width),
              static_cast<float>(y + c.height), c.uL, c.uR, c.vB, c.vT);
}

void FrameDrawStretched(int32_t id, int32_t frame, int32_t x, int32_t y, int32_t width, int32_t height) {
    const SpriteSlot* slot = DrawableSlot(id);
    FrameCell c;
    if (!slot || !FindFrameCell(*slot, frame, c)) return;
    BindSpriteTexture(id, -1, false);
    ApplySmoothing();
    float left = static_cast<float>(x), top = static_cast<float>(y);
    float right = static_cast<float>(x + width) + 0.1f, bottom = static_cast<float>(y + height) + 0.1f;
    DrawTexturedQuad(
        {{left, top, c.uL, c.vT}, {left, bottom, c.uL, c.vB}, {right, bottom, c.uR, c.vB}, {right, top, c.uR, c.vT}});
}

void FrameDrawRotoZoomed(int32_t id, int32_t frame, int32_t x, int32_t y, double angle, double scale) {
    const SpriteSlot* slot = DrawableSlot(id);
    FrameCell c;
    if (!slot || !FindFrameCell(*slot, frame, c)) return;
    double cx = x + c.width / 2, cy = y + c.height / 2;
    double hw = c.width * scale * 0.5, hh = c.height * scale * 0.5;
    double si = std::sin(angle * 0.017453292), co = std::cos(angle * 0.017453292);
    auto corner = [](double px, double py, float u, float v) {
        return QuadVertex{static_cast<float>(std::ceil(px)), static_cast<float>(std::ceil(py)), u, v};
    };
    BindSpriteTexture(id, -1, false);
    ApplySmoothing();
    DrawTexturedQuad({corner(cx - co * hw - si * hh, cy - co * hh + si * hw, c.uL, c.vT),
                      corner(cx - co * hw + si * hh, cy + co * hh + si * hw, c.uL, c.vB),
                      corner(cx + co * hw + si * hh, cy + co * hh - si * hw, c.uR, c.vB),
                      corner(cx + co * hw - si * hh, cy - co * hh - si * hw, c.uR, c.vT)});
}
