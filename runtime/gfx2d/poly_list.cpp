// The polygon list: vertices collected one by one and drawn as one triangle fan.
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/sprite_draw.h"

#include <GL/gl.h>

namespace {

constexpr int32_t kPolyMinimumCapacity = 512;
constexpr int32_t kPolyGrowthStep = 128;

int32_t Capacity(const PolyList& list) { return static_cast<int32_t>(list.vertices.size()); }

} // namespace

void PolyBegin(int32_t id) {
    PolyList& list = Gfx2d().poly;
    list.spriteId = id;
    BindSpriteTexture(id, -1, false);
    if (Capacity(list) < kPolyMinimumCapacity) list.vertices.resize(kPolyMinimumCapacity);
    list.count = 0;
}

void PolyVertex(double x, double y, double tx, double ty, int32_t colour) {
    Graphics2D& g = Gfx2d();
    PolyList& list = g.poly;
    PolyVertexRecord vertex{static_cast<float>(x),
                            static_cast<float>(y),
                            0,
                            0,
                            (colour & 255) / 255.0f,
                            ((colour >> 8) & 255) / 255.0f,
                            ((colour >> 16) & 255) / 255.0f,
                            (colour & 0xFFFFFF) == g.spriteColourKey ? 0.0f : g.blendAlpha};
    const SpriteSlot* slot = SlotOf(list.spriteId);
    if (slot && slot->texWidth > 0 && slot->texHeight > 0) {
        vertex.u = static_cast<float>(tx / slot->texWidth);
        vertex.v = static_cast<float>((slot->height - ty) / slot->texHeight);
    }
    if (list.count + 1 >= Capacity(list)) {
        int32_t need = list.count + 1;
        list.vertices.resize(need < kPolyMinimumCapacity ? kPolyMinimumCapacity
                                                         : kPolyGrowthStep * (need / kPolyGrowthStep + 1));
    }
    list.vertices[static_cast<size_t>(list.count++)] = vertex;
}

void PolyEnd() {
    Graphics2D& g = Gfx2d();
    PolyList& list = g.poly;
    if (list.vertices.empty()) return;
    bool textured = list.spriteId >= 0;
    // The list draws with its own sprite even when other draws bound theirs since PolyBegin.
    BindSpriteTexture(list.spriteId, -1, false);
    ApplySmoothing();
    GlFlushQuads();
    const GLsizei stride = sizeof(PolyVertexRecord);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, &list.vertices[0].x);
    if (textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &list.vertices[0].u);
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, stride, &list.vertices[0].r);
    glDrawArrays(GL_TRIANGLE_FAN, 0, list.count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glShadeModel(GL_FLAT);
    GlEnableTexture(0, true);
    GlColourChanged();
    GlColour(1, 1, 1, g.blendAlpha);
    glDisable(GL_DITHER);
    glDisable(GL_COLOR_MATERIAL);
}
