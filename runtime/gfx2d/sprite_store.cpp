// The sprite table's slot operations: freeing, frame sizes, size queries, colour keys, smoothing.
#include "runtime/gfx2d/sprite_store.h"

#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/surfaces.h"

void SpriteFreeMask(int32_t id) {
    if (id < 0 || id >= kSpriteCount) return;
    std::vector<uint8_t>& mask = Gfx2d().masks[static_cast<size_t>(id)];
    mask.clear();
    mask.shrink_to_fit();
}

void SpriteFree(int32_t id) {
    SpriteSlot* slot = SlotOf(id);
    if (!slot) return;
    if (GlReady()) {
        GlDeleteTexture(slot->texture);
        GlDeleteTexture(slot->mipTexture);
    }
    slot->texture = 0;
    slot->mipTexture = 0;
    slot->texWidth = slot->texHeight = -1;
    slot->width = slot->height = 0;
    SpriteFreeMask(id);
    AtlasRelease(id);
}

void SpriteFreeAll() {
    for (int32_t id = 0; id < kSpriteCount; ++id) SpriteFree(id);
    for (int32_t buffer = 0; buffer < kBackgroundCount; ++buffer) BackgroundFree(buffer);
}

void SpriteSetFrameSize(int32_t id, int32_t frameWidth, int32_t frameHeight) {
    SpriteSlot* slot = SlotOf(id);
    if (!slot) return;
    slot->frameWidth = static_cast<int16_t>(frameWidth);
    slot->frameHeight = static_cast<int16_t>(frameHeight);
}

void SpriteGetSize(int32_t id, int32_t& width, int32_t& height) {
    SpriteSlot* slot = SlotOf(id);
    width = slot ? slot->width : 0;
    height = slot ? slot->height : 0;
}

void SpriteGetSize(int32_t id, double& width, double& height) {
    int32_t w = 0, h = 0;
    SpriteGetSize(id, w, h);
    width = w;
    height = h;
}

void SetColourKey(int32_t colour) {
    Graphics2D& g = Gfx2d();
    g.spriteColourKey = colour;
    g.fontColourKey = colour;
}

void SetSmoothing(bool on) { Gfx2d().smoothing = on; }
