// The stencil shadow mode: volumes drawn while it is on flip the stencil of the pixels they cover;
// leaving it darkens every flipped pixel of the viewport to half brightness.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>

namespace {

void EnterStencilMode() {
    glShadeModel(GL_FLAT);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glEnable(GL_STENCIL_TEST);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INVERT);
}

// A half-transparent black rectangle over the whole viewport, whatever its size, drawn where the
// stencil is set. Lights, fog and textures come back as they were afterwards.
void DarkenStencilledPixels(const OpenGLVividoru& device) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, device.viewportWidth, device.viewportHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glPushAttrib(GL_ENABLE_BIT);
    for (GLenum cap : {GL_DEPTH_TEST, GL_TEXTURE_2D, GL_LIGHTING, GL_FOG, GL_ALPHA_TEST, GL_CULL_FACE}) glDisable(cap);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    Gfx2d().blendAlpha = 0.5f;
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColor4f(0, 0, 0, 0.5f);
    float w = static_cast<float>(device.viewportWidth), h = static_cast<float>(device.viewportHeight);
    glBegin(GL_QUADS);
    glVertex2f(0, 0);
    glVertex2f(0, h);
    glVertex2f(w, h);
    glVertex2f(w, 0);
    glEnd();
    glPopAttrib();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void LeaveStencilModeNow(Vividoru3D& engine) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LEQUAL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    DarkenStencilledPixels(engine.device);
    glDisable(GL_BLEND);
    Gfx2d().blendAlpha = 1.0f;
    glColor4f(1, 1, 1, 1);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LESS);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glClear(GL_STENCIL_BUFFER_BIT);
    CullMode(engine.cullMode);
}

} // namespace

void ShadowMode(int32_t on) {
    Vividoru3D& engine = Engine3D();
    uint8_t mode = on != 0 ? 1 : 0;
    if (mode == engine.stencilMode) return;
    engine.stencilMode = mode;
    FlushGL();
    if (mode)
        EnterStencilMode();
    else
        LeaveStencilModeNow(engine);
}
