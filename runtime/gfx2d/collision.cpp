// Pixel-exact collisions of sprites and animation frames through the slots' alpha masks.
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>
#include <algorithm>

namespace {

// One sprite placed on the screen: the slot, its mask, the rectangle it covers and where that
// rectangle starts inside the image.
struct Placement {
    const SpriteSlot* slot;
    const std::vector<uint8_t>* mask;
    int64_t x, y, width, height;
    int64_t frameX, frameY;
};

// Reads outside the image (frames past the grid, textures the GL limit cut) count as transparent.
bool Opaque(const Placement& p, int64_t px, int64_t py) {
    int64_t column = px - p.x + p.frameX;
    int64_t imageRow = py - p.y + p.frameY;
    if (column < 0 || column >= p.slot->width || imageRow < 0 || imageRow >= p.slot->height) return false;
    int64_t maskRow = p.slot->height - 1 - imageRow;
    if (column >= p.slot->texWidth || maskRow >= p.slot->texHeight) return false;
    size_t index = static_cast<size_t>(maskRow * p.slot->texWidth + column);
    return index < p.mask->size() && (*p.mask)[index] != 0;
}

const std::vector<uint8_t>& BuiltMask(int32_t id) {
    SpriteBuildMask(id);
    return Gfx2d().masks[static_cast<size_t>(id)];
}

// The whole image unless frames are asked for and the slot has a frame size; false for an empty slot
// or a frame size with no columns.
bool Place(int32_t id, int32_t frame, int32_t x, int32_t y, bool useFrames, Placement& p) {
    const SpriteSlot* slot = SlotOf(id);
    if (!slot || slot->texWidth <= 0 || slot->texHeight <= 0) return false;
    p = {slot, nullptr, x, y, slot->width, slot->height, 0, 0};
    if (useFrames && slot->frameWidth != 0) {
        int64_t columns = slot->width / slot->frameWidth;
        if (columns == 0) return false;
        p.width = slot->frameWidth;
        p.height = slot->frameHeight;
        p.frameX = (frame % columns) * slot->frameWidth;
        p.frameY = (frame / columns) * slot->frameHeight;
    }
    p.mask = &BuiltMask(id);
    return true;
}

bool Overlap(const Placement& a, const Placement& b) {
    int64_t left = std::max(a.x, b.x), right = std::min(a.x + a.width, b.x + b.width);
    int64_t top = std::max(a.y, b.y), bottom = std::min(a.y + a.height, b.y + b.height);
    if (left > right || top > bottom) return false;
    // A coarse 2 x 2 lattice first, so that a large overlap is found after few tests.
    for (int64_t rowPhase = 0; rowPhase < 2; ++rowPhase)
        for (int64_t columnPhase = 0; columnPhase < 2; ++columnPhase)
            for (int64_t py = top + rowPhase; py < bottom; py += 2)
                for (int64_t px = left + columnPhase; px < right; px += 2)
                    if (Opaque(a, px, py) && Opaque(b, px, py)) return true;
    return false;
}

bool Collide(int32_t id1, int32_t frame1, int32_t x1, int32_t y1, int32_t id2, int32_t frame2, int32_t x2, int32_t y2,
             bool useFrames) {
    Placement a, b;
    if (!Place(id1, frame1, x1, y1, useFrames, a) || !Place(id2, frame2, x2, y2, useFrames, b)) return false;
    return Overlap(a, b);
}

} // namespace

void SpriteBuildMask(int32_t id) {
    const SpriteSlot* slot = SlotOf(id);
    if (!slot || !slot->texture || slot->texWidth <= 0 || slot->texHeight <= 0) return;
    std::vector<uint8_t>& mask = Gfx2d().masks[static_cast<size_t>(id)];
    if (!mask.empty()) return;
    mask.assign(static_cast<size_t>(slot->texWidth) * slot->texHeight, 0);
    // The texture may be a screen's picture with quads still to come.
    GlFlushQuads();
    GLuint bound = GlBoundTexture();
    // Rows of any width must fit the buffer exactly.
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    GlBindTexture(0, slot->texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_ALPHA, GL_UNSIGNED_BYTE, mask.data());
    GlBindTexture(0, bound);
}

bool SpriteCollide(int32_t id1, int32_t x1, int32_t y1, int32_t id2, int32_t x2, int32_t y2) {
    return Collide(id1, 0, x1, y1, id2, 0, x2, y2, false);
}

bool FrameCollide(int32_t id1, int32_t frame1, int32_t x1, int32_t y1, int32_t id2, int32_t frame2, int32_t x2,
                  int32_t y2) {
    return Collide(id1, frame1, x1, y1, id2, frame2, x2, y2, true);
}
