// Sprite and animation-frame drawing, and the texture binding and quad they share.
#include "runtime/gfx2d/sprite_draw.h"

#include "runtime/core/gl_extensions.h"
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
    if (mirrored) glFrontFace(GL_CW);
    ApplySmoothing();
    DrawTexturedQuad({{x, y + h, 0, 0}, {x + w, y + h, u, 0}, {x + w, y, u, v}, {x, y, 0, v}});
    if (mirrored) glFrontFace(GL_CCW);
}

} // namespace

void BindSpriteTexture(int32_t id, int32_t secondId, bool useMipTexture) {
    Graphics2D& g = Gfx2d();
    g.boundSprite = id;
    g.boundSecondSprite = secondId;
    g.boundMipTexture = useMipTexture;
    GlExtensions& ext = GlExt();
    if (ext.glActiveTextureARB) {
        ext.glActiveTextureARB(GL_TEXTURE1_ARB);
        const SpriteSlot* second = SlotOf(secondId);
        if (second) {
            glBindTexture(GL_TEXTURE_2D, useMipTexture ? second->mipTexture : second->texture);
            glEnable(GL_TEXTURE_2D);
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        ext.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    const SpriteSlot* slot = SlotOf(id);
    if (!slot) {
        glDisable(GL_TEXTURE_2D);
        if (!ext.glActiveTextureARB) glEnable(GL_COLOR_MATERIAL);
        return;
    }
    glBindTexture(GL_TEXTURE_2D, useMipTexture ? slot->mipTexture : slot->texture);
    glEnable(GL_TEXTURE_2D);
}

void DrawTexturedQuad(const QuadVertex (&corners)[4]) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBegin(GL_TRIANGLE_FAN);
    for (const QuadVertex& c : corners) {
        glTexCoord2f(c.u, c.v);
        glVertex2f(c.x, c.y);
    }
    glEnd();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void ApplySmoothing() {
    GLint filter = Gfx2d().smoothing ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void ResetViewport2D() {
    Gfx2d().smoothing = true;
    BindSpriteTexture(-1, -1, false);
}

void SpriteDraw(int32_t id, int32_t x, int32_t y) {
    const SpriteSlot* slot = DrawableSlot(id);
    if (!slot) return;
    BindSpriteTexture(id, -1, false);
    ApplySmoothing();
    float u = static_cast<float>(slot->width) / slot->texWidth;
    float v = static_cast<float>(slot->height) / slot->texHeight;
    glBegin(GL_QUADS);
    glTexCoord2f(u, v);
    glVertex2i(x + slot->width, y);
    glTexCoord2f(0, v);
    glVertex2i(x, y);
    glTexCoord2f(0, 0);
    glVertex2i(x, y + slot->height);
    glTexCoord2f(u, 0);
    glVertex2i(x + slot->width, y + slot->height);
    glEnd();
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
    glPushMatrix();
    glTranslatef(static_cast<float>(x + (slot->width >> 1)), static_cast<float>(y + (slot->height >> 1)), 0);
    glRotatef(static_cast<float>(angle), 0, 0, -1);
    ApplySmoothing();
    DrawTexturedQuad({{-hw, hh, ua, va}, {hw, hh, ub, va}, {hw, -hh, ub, vb}, {-hw, -hh, ua, vb}});
    glPopMatrix();
}

void FrameDraw(int32_t id, int32_t frame, int32_t x, int32_t y) {
    const SpriteSlot* slot = DrawableSlot(id);
    FrameCell c;
    if (!slot || !FindFrameCell(*slot, frame, c)) return;
    BindSpriteTexture(id, -1, false);
    ApplySmoothing();
    glBegin(GL_QUADS);
    glTexCoord2f(c.uR, c.vT);
    glVertex2i(x + c.width, y);
    glTexCoord2f(c.uL, c.vT);
    glVertex2i(x, y);
    glTexCoord2f(c.uL, c.vB);
    glVertex2i(x, y + c.height);
    glTexCoord2f(c.uR, c.vB);
    glVertex2i(x + c.width, y + c.height);
    glEnd();
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
