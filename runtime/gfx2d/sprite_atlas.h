// Shared atlas textures: small loaded sprites are copied into cells of a few large textures, so that
// plain sprite and frame draws of different sprites batch without a texture switch.
#pragma once

#include <cstdint>
#include <vector>

// A sprite's whole power-of-two texture sits inside a one-texel border that repeats its opposite edge,
// so filtering reads what GL_REPEAT on the sprite's own texture would give.
struct AtlasCell {
    int32_t page = -1; // -1: the sprite is not in an atlas
    int32_t x = 0, y = 0;
    int32_t texWidth = 0, texHeight = 0;
};

struct AtlasShelf {
    int32_t y, height, usedWidth;
};

struct AtlasPage {
    uint32_t texture = 0;
    int32_t usedHeight = 0;
    int32_t cells = 0;
    std::vector<AtlasShelf> shelves;
};

struct SpriteAtlas {
    int32_t pageSide = 0;
    std::vector<AtlasPage> pages;
    std::vector<AtlasCell> holes; // freed cells, kept for the next sprite of the same texture size
    std::vector<AtlasCell> cells; // one per sprite id
};

// Sprites of this texture side or less share atlases.
constexpr int32_t kLargestAtlasSprite = 256;

// Copies the sprite's texels (texture rows, texWidth x texHeight) into a cell; sprites too large, or
// with no room when GL cannot make a page, stay alone.
void AtlasPlace(int32_t id, const std::vector<uint8_t>& texels, int32_t texWidth, int32_t texHeight);
// Gives the sprite's cell back; called whenever the sprite's texture is freed or changes.
void AtlasRelease(int32_t id);
// The sprite's cell, or null when it draws from its own texture.
const AtlasCell* AtlasCellOf(int32_t id);
// The texture of an atlas page.
uint32_t AtlasTexture(const AtlasCell& cell);
int32_t AtlasSide();
