// Coloured primitives (points, lines, filled rectangles), pixel read-back and the screen size.
#include "runtime/core/gl_state.h"
#include "runtime/core/runtime_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/surfaces.h"

#include <GL/gl.h>
#include <cmath>

namespace {

// A primitive in the sprite colour key writes alpha 0, so that area turns transparent when grabbed.
void BeginPrimitive(int32_t colour) {
    Graphics2D& g = Gfx2d();
    GlAlphaTest(false);
    long alpha = (colour & 0xFFFFFF) == g.spriteColourKey ? 0 : std::lround(g.blendAlpha * 255);
    // The byte values as GL widens them.
    GlColour(static_cast<float>(colour & 255) / 255.0f, static_cast<float>((colour >> 8) & 255) / 255.0f,
             static_cast<float>((colour >> 16) & 255) / 255.0f, static_cast<float>(alpha) / 255.0f);
    BindSpriteTexture(-1, -1, false);
    GlFlushQuads();
    // Integer coordinates then hit pixel centres.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glTranslatef(0.375f, 0.375f, 0);
    glMatrixMode(GL_MODELVIEW);
}

void EndPrimitive() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    GlColour(1, 1, 1, Gfx2d().blendAlpha);
    GlAlphaTest(true);
}

} // namespace

void DrawPixel(int32_t x, int32_t y, int32_t colour) {
    BeginPrimitive(colour);
    glBegin(GL_POINTS);
    glVertex2i(x, y);
    glEnd();
    EndPrimitive();
}

void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t colour) {
    BeginPrimitive(colour);
    glBegin(GL_LINES);
    glVertex2i(x1, y1);
    glVertex2i(x2, y2);
    glEnd();
    // Lines leave out their last pixel; the end point is part of ours.
    glBegin(GL_POINTS);
    glVertex2i(x2, y2);
    glEnd();
    EndPrimitive();
}

void DrawFilledRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t colour) {
    // In 64 bits, so that no size a program passes overflows.
    int64_t left = x, top = y, w = width, h = height;
    if (w < 0) {
        left = left + w + 1;
        w = -w;
    }
    if (h < 0) {
        top = top + h + 1;
        h = -h;
    }
    BeginPrimitive(colour);
    float x0 = static_cast<float>(left), y0 = static_cast<float>(top);
    float x1 = static_cast<float>(left + w), y1 = static_cast<float>(top + h);
    glBegin(GL_TRIANGLE_FAN);
    glVertex2f(x0, y1);
    glVertex2f(x1, y1);
    glVertex2f(x1, y0);
    glVertex2f(x0, y0);
    glEnd();
    EndPrimitive();
}

int32_t ReadPixel(int32_t x, int32_t y) {
    uint8_t rgb[3] = {};
    GlFlushQuads();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // A screen's framebuffer object is read through its colour attachment, which it reads by default.
    if (!ScreenFramebufferActive()) glReadBuffer(GL_BACK);
    glReadPixels(x, TargetHeight() - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] | rgb[1] << 8 | rgb[2] << 16;
}

void GetScreenSize(int32_t& width, int32_t& height) {
    width = Device().width;
    height = Device().height;
}

void GetScreenSize(double& width, double& height) {
    width = Device().width;
    height = Device().height;
}
