// Off-screen screens: drawing into a sprite through a framebuffer object, or, without framebuffer
// objects, in the top-left corner of the back buffer whose old content waits in the scratch sprite.
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/sprite_store.h"
#include "runtime/gfx2d/surfaces.h"
#include "runtime/gfx2d/texture_upload.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <limits>

namespace {

bool FramebufferEntryPoints() {
    const GlExtensions& e = GlExt();
    return e.glGenFramebuffersEXT && e.glDeleteFramebuffersEXT && e.glGenRenderbuffersEXT &&
           e.glDeleteRenderbuffersEXT && e.glBindFramebufferEXT && e.glBindRenderbufferEXT &&
           e.glRenderbufferStorageEXT && e.glFramebufferTexture2DEXT && e.glFramebufferRenderbufferEXT &&
           e.glCheckFramebufferStatusEXT;
}

void DeleteFramebuffer(ScreenTarget& target) {
    const GlExtensions& e = GlExt();
    GlFlushQuads();
    // Deleting the bound framebuffer binds framebuffer 0 behind the record's back.
    if (target.framebuffer) GlStateRecord().framebuffer = -1;
    if (target.framebuffer && e.glDeleteFramebuffersEXT) e.glDeleteFramebuffersEXT(1, &target.framebuffer);
    if (target.depthBuffer && e.glDeleteRenderbuffersEXT) e.glDeleteRenderbuffersEXT(1, &target.depthBuffer);
    target.framebuffer = target.depthBuffer = 0;
    target.width = target.height = 0;
}

void AttachTarget(const ScreenTarget& target) {
    const GlExtensions& e = GlExt();
    GlBindFramebuffer(target.framebuffer);
    e.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depthBuffer);
    e.glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                                SlotOf(target.spriteId)->texture, 0);
    e.glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                   target.depthBuffer);
}

// The framebuffer drawing went to before ScreenCreate made its test binding.
void RebindActiveTarget() {
    const GlExtensions& e = GlExt();
    SurfaceState& s = Surfaces();
    bool onObject = ScreenFramebufferActive();
    GlBindFramebuffer(onObject ? s.screens[s.activeScreen].framebuffer : 0);
    e.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, onObject ? s.screens[s.activeScreen].depthBuffer : 0);
}

void MakeFramebuffer(ScreenTarget& target, int32_t width, int32_t height) {
    const GlExtensions& e = GlExt();
    GlFlushQuads();
    e.glGenFramebuffersEXT(1, &target.framebuffer);
    e.glGenRenderbuffersEXT(1, &target.depthBuffer);
    e.glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, target.depthBuffer);
    e.glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT24, width, height);
    // A framebuffer without attachments is never complete, so the check needs them in place.
    AttachTarget(target);
    if (e.glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT) {
        target.width = width;
        target.height = height;
    }
    RebindActiveTarget();
}

// Copies between the back buffer and the sprites must not be blended with what is there.
class BlendingOff {
  public:
    BlendingOff() : was_(GlBlendEnabled()) { GlBlend(false); }
    ~BlendingOff() { GlBlend(was_); }

  private:
    bool was_;
};

// An emulated screen is copied back into its sprite and the back buffer's content restored; a
// framebuffer object is left. Drawing goes to the whole back buffer again.
void FinishActiveScreen() {
    SurfaceState& s = Surfaces();
    if (s.activeScreen < 0) return;
    const ScreenTarget& target = s.screens[s.activeScreen];
    s.activeScreen = -1;
    if (target.width != 0) {
        GlBindFramebuffer(0);
        GlExt().glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    } else {
        BlendingOff copy;
        const SpriteSlot& slot = *SlotOf(target.spriteId);
        SpriteGrab(target.spriteId, 0, 0, slot.width, slot.height);
        DrawFilledRect(0, 0, slot.texWidth, slot.texHeight, 0);
        SpriteDraw(kScratchSprite, 0, 0);
    }
    SetViewport(0, 0, 0, 0);
}

} // namespace

// Never destroyed, like every record the program end may still reach.
SurfaceState& Surfaces() {
    static SurfaceState* state = new SurfaceState;
    return *state;
}

bool ScreenFramebufferActive() {
    const SurfaceState& s = Surfaces();
    return s.activeScreen >= 0 && s.screens[s.activeScreen].width != 0;
}

int32_t TargetHeight() {
    // A framebuffer object holds the screen's picture in its lower-left corner, with its own origin.
    if (ScreenFramebufferActive()) return SlotOf(Surfaces().screens[Surfaces().activeScreen].spriteId)->height;
    return Device().height;
}

bool FitsSpriteSlot(int32_t texWidth, int32_t texHeight) {
    return texWidth <= std::numeric_limits<int16_t>::max() && texHeight <= std::numeric_limits<int16_t>::max();
}

void ScreenCreate(int32_t screen, int32_t id, int32_t width, int32_t height) {
    if (screen < 0 || screen >= kScreenCount || !SlotOf(id) || width < 1 || height < 1) return;
    int32_t texWidth = PowerOfTwoAtLeast(width, 2), texHeight = PowerOfTwoAtLeast(height, 2);
    if (!FitsSpriteSlot(texWidth, texHeight)) return;
    SpriteFree(id);
    ImageRGBA image;
    ImagePrepare(image, texWidth, texHeight);
    SpriteSlot& slot = *SlotOf(id);
    TextureUpload(image, 0, 0, 0, 0, slot.texture, nullptr, false, false);
    slot.width = static_cast<int16_t>(width);
    slot.height = static_cast<int16_t>(height);
    slot.texWidth = static_cast<int16_t>(texWidth);
    slot.texHeight = static_cast<int16_t>(texHeight);

    ScreenTarget& target = Surfaces().screens[screen];
    if (target.framebuffer || target.depthBuffer) DeleteFramebuffer(target);
    target.spriteId = id;
    if (FramebufferEntryPoints()) MakeFramebuffer(target, texWidth, texHeight);
}

void FinishScreenBeforePresent() {
    if (GlReady()) ScreenUse(-1);
}

void ScreenUse(int32_t screen) {
    if (screen >= kScreenCount) return;
    FinishActiveScreen();
    SurfaceState& s = Surfaces();
    // A screen never created draws to the back buffer, as a negative number does.
    if (screen < 0 || s.screens[screen].spriteId < 0) {
        SetViewport(0, 0, 0, 0);
        return;
    }
    const ScreenTarget& target = s.screens[screen];
    s.activeScreen = screen;
    const SpriteSlot& slot = *SlotOf(target.spriteId);
    int32_t w = slot.width, h = slot.height;
    if (target.width != 0) {
        AttachTarget(target);
        SetViewport(0, 0, w, h);
        // The framebuffer object has its own origin.
        glViewport(0, 0, w, h);
        return;
    }
    SetViewport(0, 0, w, h);
    BlendingOff copy;
    SpriteGrab(kScratchSprite, 0, 0, w, h);
    DrawFilledRect(0, 0, w, h, Gfx2d().spriteColourKey);
    SpriteDraw(target.spriteId, 0, 0);
}
