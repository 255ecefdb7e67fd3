// Loading picture files into sprite slots.
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/name_resolution.h"
#include "runtime/gfx2d/sprite_store.h"
#include "runtime/gfx2d/texture_upload.h"

#include <limits>

namespace {

bool LoadFile(const RtString& file, int32_t id, int32_t key, bool normalMap) {
    SpriteFree(id);
    std::string path;
    return ResolveFileName(file, path) && SpriteLoadInto(id, path, key, normalMap);
}

} // namespace

bool SpriteLoadInto(int32_t id, const std::string& path, int32_t key, bool normalMap) {
    SpriteFree(id);
    SpriteSlot* slot = SlotOf(id);
    if (!slot) return false;
    ImageRGBA& image = Gfx2d().loadImage;
    bool loaded = DecodeImageFile(image, path, key) && image.width > 0 && image.height > 0;
    int32_t texWidth = loaded ? PowerOfTwoAtLeast(image.width, 2) : 0;
    int32_t texHeight = loaded ? PowerOfTwoAtLeast(image.height, 2) : 0;
    // The slot keeps its sizes in 16 bits, so the power-of-two size must fit there too.
    constexpr int32_t kLargest = std::numeric_limits<int16_t>::max();
    if (!loaded || texWidth > kLargest || texHeight > kLargest) {
        ImageRelease(image);
        return false;
    }
    bool font = id >= kFirstFontSprite;
    int32_t uploadWidth = 0, uploadHeight = 0;
    std::vector<uint8_t> texels = TexelBuffer(image, 0, 0, 0, 0, normalMap && !font, font, uploadWidth, uploadHeight);
    if (texels.empty()) {
        ImageRelease(image);
        return false;
    }
    // Fonts draw with nearest filtering and normal maps in the 3D part: neither is drawn from an atlas.
    if (!font && !normalMap) AtlasPlace(id, texels, uploadWidth, uploadHeight);
    UploadTexels(texels, uploadWidth, uploadHeight, slot->texture, font ? nullptr : &slot->mipTexture, font);
    slot->texWidth = static_cast<int16_t>(texWidth);
    slot->texHeight = static_cast<int16_t>(texHeight);
    slot->width = static_cast<int16_t>(image.width);
    slot->height = static_cast<int16_t>(image.height);
    return true;
}

bool SpriteLoad(const RtString& file, int32_t id) { return LoadFile(file, id, Gfx2d().spriteColourKey, false); }

void SpriteLoadFrames(const RtString& file, int32_t id, int32_t frameWidth, int32_t frameHeight) {
    SpriteLoad(file, id);
    SpriteSlot* slot = SlotOf(id);
    if (slot && slot->width > 0) SpriteSetFrameSize(id, frameWidth, frameHeight);
}

bool SpriteLoadNormalMap(const RtString& file, int32_t id) { return LoadFile(file, id, kDefaultSpriteKey, true); }
