// Copying screen rectangles into sprites, and finding how the framebuffer stores the colour key.
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/sprite_draw.h"
#include "runtime/gfx2d/sprite_store.h"
#include "runtime/gfx2d/surfaces.h"
#include "runtime/gfx2d/texture_upload.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <cstring>

namespace {

// Asked at every grab: a screen's framebuffer object may have alpha bits where the back buffer has none.
bool FramebufferHasAlpha() {
    GLint bits = 0;
    glGetIntegerv(GL_ALPHA_BITS, &bits);
    return bits > 0;
}

uint32_t ReadRgb(int32_t x, int32_t y) {
    uint8_t rgb[3] = {};
    GlFlushQuads();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, TargetHeight() - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return static_cast<uint32_t>(rgb[0]) | static_cast<uint32_t>(rgb[1]) << 8 | static_cast<uint32_t>(rgb[2]) << 16;
}

// A texture of exactly texWidth x texHeight in the slot, bound, made anew when the size differs.
void BindGrabTexture(SpriteSlot& slot, int32_t texWidth, int32_t texHeight) {
    if (slot.texture && slot.texWidth == texWidth && slot.texHeight == texHeight) {
        GlBindTexture(0, slot.texture);
        return;
    }
    if (GlReady()) {
        GlDeleteTexture(slot.texture);
        GlDeleteTexture(slot.mipTexture);
    }
    slot.mipTexture = 0;
    slot.texture = NewTexture(texWidth, texHeight, false, nullptr);
}

// Without framebuffer alpha the key colour is found by its stored value.
void GrabThroughMemory(int32_t x, int32_t row, int32_t texWidth, int32_t texHeight, uint32_t key) {
    std::vector<uint8_t>& buffer = Surfaces().grabBuffer;
    size_t bytes = static_cast<size_t>(texWidth) * static_cast<size_t>(texHeight) * 4;
    if (buffer.size() < bytes) buffer.resize(bytes);
    std::memset(buffer.data(), 0, bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, row, texWidth, texHeight, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
    if (key != 0) {
        uint8_t r = static_cast<uint8_t>(key >> 24), g = static_cast<uint8_t>(key >> 16),
                b = static_cast<uint8_t>(key >> 8);
        for (size_t i = 0; i < bytes; i += 4)
            if (buffer[i] == b && buffer[i + 1] == g && buffer[i + 2] == r) buffer[i + 3] = 0;
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, texWidth, texHeight, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
}

} // namespace

uint32_t KeyColourProbe() {
    int32_t key = Gfx2d().spriteColourKey;
    // -1 means "no key" to the decoders; as a colour it would make all white pixels transparent.
    if (key == 0 || key == kNoColourKey) return 0;
    OpenGLVividoru& device = Device();
    // The pixel (4, 4) of the viewport, where DrawPixel puts it.
    int32_t x = device.viewportX + 4, y = device.viewportY + 4;
    bool blending = GlBlendEnabled();
    GlBlend(false);
    uint32_t saved = ReadRgb(x, y);
    DrawPixel(4, 4, key);
    uint32_t stored = ReadRgb(x, y);
    DrawPixel(4, 4, static_cast<int32_t>(saved));
    GlBlend(blending);
    return (stored & 0xFF) << 24 | (stored >> 8 & 0xFF) << 16 | (stored >> 16 & 0xFF) << 8;
}

bool SpriteGrab(int32_t id, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (!SlotOf(id) || w < 1 || h < 1) return false;
    int32_t texWidth = PowerOfTwoAtLeast(w, 32), texHeight = PowerOfTwoAtLeast(h, 32);
    if (!FitsSpriteSlot(texWidth, texHeight)) return false;
    SpriteFreeMask(id);
    AtlasRelease(id);
    GlFlushQuads();
    bool alpha = FramebufferHasAlpha();
    // The probe draws, which unbinds textures: it runs before the grab texture is bound.
    uint32_t key = alpha ? 0 : KeyColourProbe();
    SpriteSlot& slot = *SlotOf(id);
    BindGrabTexture(slot, texWidth, texHeight);
    int32_t row = TargetHeight() - y - h;
    if (alpha)
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, x, row, w, h);
    else
        GrabThroughMemory(x, row, texWidth, texHeight, key);
    slot.texWidth = static_cast<int16_t>(texWidth);
    slot.texHeight = static_cast<int16_t>(texHeight);
    slot.width = static_cast<int16_t>(w);
    slot.height = static_cast<int16_t>(h);
    // The texture binding changed behind the drawing state's back.
    BindSpriteTexture(-1, -1, false);
    return true;
}
