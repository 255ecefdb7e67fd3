// SetViewport: the viewport, the pixel projection and the fixed 2D GL state every frame starts from.
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/core/subsystem_hooks.h"

#include <GL/gl.h>

void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h) {
    GlFlushQuads();
    SubsystemHooks& hooks = Hooks();
    if (hooks.resetEngine3DViewport) hooks.resetEngine3DViewport();
    // The 3D part and screen switches change GL state behind the record's back.
    GlForgetState();
    OpenGLVividoru& device = Device();
    if (w < 1 || h < 1) {
        w = device.width;
        h = device.height;
    }
    device.viewportX = x;
    device.viewportY = y;
    device.viewportWidth = w;
    device.viewportHeight = h;
    // GL counts rows from the bottom; (x, y) is the viewport's top-left in screen pixels from the top.
    glViewport(x, device.height - y - h, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, h, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    GlEnableTexture(0, true);
    glDisable(GL_DEPTH_TEST);
    GlCullFace(true);
    GlFrontFace(GL_CCW);
    GlAlphaTest(true);
    GlAlphaFunc(GL_GREATER, 0.05f);
    GlColour(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    for (GLenum cap :
         {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_STENCIL_TEST, GL_NORMALIZE, GL_LIGHTING, GL_COLOR_MATERIAL,
          GL_DITHER, GL_POLYGON_SMOOTH, GL_POLYGON_OFFSET_POINT, GL_AUTO_NORMAL, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T})
        glDisable(cap);
    glShadeModel(GL_FLAT);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_FASTEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_FASTEST);
    if (hooks.resetViewport2D) hooks.resetViewport2D();
}
