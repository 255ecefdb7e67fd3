// Saving a sprite or the whole screen as a BMP or PNG file.
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/surfaces.h"

#include <GL/gl.h>
#include <GL/glext.h>

bool SpriteSave(const RtString& name, int32_t id) {
    const SpriteSlot* found = SlotOf(id);
    if (!found) return false;
    const SpriteSlot& slot = *found;
    if (slot.texture == 0 || slot.width <= 0 || slot.height <= 0) return false;
    uint32_t key = KeyColourProbe();
    size_t texels = static_cast<size_t>(slot.texWidth) * static_cast<size_t>(slot.texHeight);
    std::vector<uint8_t> bgra(texels * 4);
    GlFlushQuads();
    GlBindTexture(0, slot.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
    BindSpriteTexture(-1, -1, false);
    // Transparent texels carry the edge-fill colour, not the key: they are written as the key so that
    // the file loads back with the same transparency.
    std::vector<uint8_t> bgr(texels * 3);
    for (size_t i = 0; i < texels; ++i) {
        const uint8_t* p = &bgra[i * 4];
        bool clear = key != 0 && p[3] == 0;
        bgr[i * 3] = clear ? static_cast<uint8_t>(key >> 8) : p[0];
        bgr[i * 3 + 1] = clear ? static_cast<uint8_t>(key >> 16) : p[1];
        bgr[i * 3 + 2] = clear ? static_cast<uint8_t>(key >> 24) : p[2];
    }
    return ImageWrite(name.view(), {bgr.data(), slot.width, slot.height, slot.texWidth, key});
}

bool ScreenSave(const RtString& name) {
    OpenGLVividoru& device = Device();
    uint32_t key = KeyColourProbe();
    std::vector<uint8_t> bgr(static_cast<size_t>(device.width) * static_cast<size_t>(device.height) * 3);
    GlFlushQuads();
    // The back buffer is read with framebuffer 0 bound, also while a screen's framebuffer object is.
    bool onScreen = ScreenFramebufferActive();
    if (onScreen) GlBindFramebuffer(0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, device.width, device.height, GL_BGR, GL_UNSIGNED_BYTE, bgr.data());
    if (onScreen) GlBindFramebuffer(Surfaces().screens[Surfaces().activeScreen].framebuffer);
    return ImageWrite(name.view(), {bgr.data(), device.width, device.height, device.width, key});
}
