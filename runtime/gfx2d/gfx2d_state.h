// Graphics2D: the 2D subsystem's record (sprite table, collision masks, colour keys, blend alpha,
// smoothing, bound textures, polygon list, sprite atlases) and its accessor.
#pragma once

#include "runtime/gfx2d/image_rgba.h"
#include "runtime/gfx2d/sprite_atlas.h"

#include <cstdint>
#include <vector>

constexpr int32_t kSpriteCount = 65536;
constexpr int32_t kScratchSprite = 65503; // holds the back buffer while a screen is emulated
constexpr int32_t kFirstFontSprite = 65504;
constexpr int32_t kDefaultSpriteKey = 0x8000FF;
constexpr int32_t kNoColourKey = -1;

struct SpriteSlot {
    uint32_t texture = 0;
    uint32_t mipTexture = 0;
    int16_t texWidth = -1;
    int16_t texHeight = -1;
    int16_t width = 0;
    int16_t height = 0;
    int16_t frameWidth = 0;
    int16_t frameHeight = 0;
};

struct PolyVertexRecord {
    float x, y, u, v, r, g, b, a;
};

struct PolyList {
    std::vector<PolyVertexRecord> vertices; // its size is the list's capacity
    int32_t count = 0;
    int32_t spriteId = -1; // set by PolyBegin only
};

struct Graphics2D {
    std::vector<SpriteSlot> sprites = std::vector<SpriteSlot>(kSpriteCount);
    // Alpha of each slot's texture in texture row order, built by the first collision test.
    std::vector<std::vector<uint8_t>> masks = std::vector<std::vector<uint8_t>>(kSpriteCount);
    int32_t spriteColourKey = kDefaultSpriteKey;
    int32_t fontColourKey = 0;
    float blendAlpha = 1.0f;
    bool smoothing = true;
    int32_t boundSprite = -1;
    int32_t boundSecondSprite = -1;
    bool boundMipTexture = false;
    PolyList poly;
    SpriteAtlas atlas;
    // The decoders' buffer, reused from load to load.
    ImageRGBA loadImage;
};

Graphics2D& Gfx2d();
// The slot of a sprite id; null for ids outside the table.
SpriteSlot* SlotOf(int32_t id);
// Texture names may be deleted only while the window's GL context exists.
bool GlReady();
