// The shown picture's copy: made at each swap with glCopyTexSubImage2D, put back as one quad.
#include "runtime/core/shown_picture.h"

#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/core/subsystem_hooks.h"

#include <GL/gl.h>

void CopyShownPicture(OpenGLVividoru& device) {
    ShownPicture& shown = device.shown;
    if (!shown.copying || !device.contextReady) return;
    GlFlushQuads();
    // A multisampled back buffer cannot be copied: kept frames then ask for a drawn one each time.
    if (device.multisampled) {
        shown.width = shown.height = 0;
        return;
    }
    GLuint texture = shown.texture;
    if (!glIsTexture(texture)) {
        glGenTextures(1, &texture);
        shown.texture = texture;
        shown.width = shown.height = 0;
    }
    GlBindTexture(0, texture);
    if (shown.width != device.width || shown.height != device.height) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, device.width, device.height, 0, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
        GlTextureFilter(GL_NEAREST);
        GlTextureWrap(GL_CLAMP_TO_EDGE);
        shown.width = device.width;
        shown.height = device.height;
    }
    glReadBuffer(GL_BACK);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, device.width, device.height);
}

bool RestoreShownPicture(OpenGLVividoru& device) {
    ShownPicture& shown = device.shown;
    // From the first kept frame on, every shown frame is copied.
    shown.copying = true;
    if (shown.inBackBuffer) return true;
    if (shown.width == 0 || shown.width != device.width || shown.height != device.height || !glIsTexture(shown.texture))
        return false;
    SetViewport(0, 0, 0, 0);
    GlBlend(false);
    GlAlphaTest(false);
    GlEnableTexture(1, false);
    GlEnableTexture(0, true);
    GlBindTexture(0, shown.texture);
    GlColour(1, 1, 1, 1);
    // The copy's first row is the screen's bottom one.
    float w = static_cast<float>(device.width), h = static_cast<float>(device.height);
    GlBatchVertex* v = GlBatchQuads(GL_QUADS, 4);
    v[0] = {w, 0, 0, 1, 1};
    v[1] = {0, 0, 0, 0, 1};
    v[2] = {0, h, 0, 0, 0};
    v[3] = {w, h, 0, 1, 0};
    GlFlushQuads();
    shown.inBackBuffer = true;
    return true;
}

void StartFrameAfterKeep(OpenGLVividoru& device) {
    if (!device.shown.inBackBuffer) return;
    device.shown.inBackBuffer = false;
    GlFlushQuads();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (Hooks().resetFrameDrawing) Hooks().resetFrameDrawing();
}
