// Blending: the blend mode number, the screen clear and the per-frame reset.
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/surfaces.h"

#include <GL/gl.h>
#include <cmath>

void SetBlendMode(double mode) {
    GlBlend(mode != 0);
    if (mode != 0) GlBlendFunc(GL_SRC_ALPHA, mode > 0 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    double alpha = std::fabs(mode);
    if (alpha == 0 || std::isnan(alpha)) alpha = 1;
    if (alpha > 1) alpha = 1;
    Graphics2D& g = Gfx2d();
    g.blendAlpha = static_cast<float>(alpha);
    GlColour(1, 1, 1, g.blendAlpha);
}

void ClearScreen() {
    BackgroundFree(0);
    GlFlushQuads();
    glClear(GL_COLOR_BUFFER_BIT);
}

void ResetFrameDrawing() {
    SetBlendMode(0);
    BackgroundDraw(0);
}
