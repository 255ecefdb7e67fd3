// ObjectCollectionLoad: an INI file naming textures and KYD objects relative to its own folder,
// each resolved through the packed archive.
#include "runtime/engine3d/object_collection.h"
#include "runtime/core/core.h"
#include "runtime/core/number_convert.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/files/files.h"
#include "runtime/files/ini_table.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/texture_upload.h"

#include <GL/gl.h>
#include <algorithm>
#include <string>

namespace {

// A missing key reads "NO_DATA", which is the number 0; counts are capped so a hostile file
// cannot size the lists beyond reason.
int32_t ReadCount(const IniTable& table, const char* section) {
    return std::clamp(NumberToInt(IniLookup(table, section, "count").ToNumber()), 0, kMaxCollectionEntries);
}

// Stored counted from 0; 0, missing or past the list: no texture (-1).
int32_t ReadTextureNumber(const IniTable& table, int32_t object, const char* suffix, size_t textureCount) {
    RtString key = RtString(object) + suffix;
    int32_t number = NumberToInt(IniLookup(table, "objects", key).ToNumber());
    return number >= 1 && static_cast<size_t>(number) <= textureCount ? number - 1 : -1;
}

void LoadTexture(CollectionTexture& texture, const RtString& file, int32_t colourKey) {
    RtString path;
    ImageRGBA& image = Gfx2d().loadImage;
    if (!ArchiveResolve(file, path) || !DecodeImageFile(image, path.c_str(), colourKey)) return;
    FlushGL();
    if (!TextureUpload(image, 0, 0, 0, 0, texture.texture, &texture.mipTexture, false, false))
        texture.texture = texture.mipTexture = 0;
}

// What a loaded object holds in memory, near enough to bound a collection by.
uint64_t ModelBytes(const KydModel& model) {
    uint64_t bytes = 4 * model.palette.size() + 8 * model.texU.size();
    for (const KydFrame& frame : model.frames)
        bytes +=
            sizeof(KydFrame) + sizeof(KydPackedVertex) * frame.packed.size() + sizeof(KydVertex) * frame.decoded.size();
    return bytes;
}

} // namespace

CollectionTexture::~CollectionTexture() {
    if (!GlReady()) return;
    FlushGL();
    for (uint32_t name : {texture, mipTexture})
        if (name) glDeleteTextures(1, &name);
}

void ObjectCollectionFree(ObjectCollection& collection) { collection = ObjectCollection{}; }

void ObjectCollectionLoad(ObjectCollection& collection, const RtString& file, int32_t colourKey) {
    ObjectCollectionFree(collection);
    IniTable table;
    IniLoadFile(table, file);
    std::string_view whole = file.view();
    size_t cut = whole.find_last_of("/\\");
    RtString folder(whole.substr(0, cut == std::string_view::npos ? 0 : cut + 1));

    int32_t textureCount = ReadCount(table, "textures");
    for (int32_t i = 1; i <= textureCount; ++i) {
        auto texture = std::make_shared<CollectionTexture>();
        LoadTexture(*texture, folder + IniLookup(table, "textures", RtString(i)), colourKey);
        collection.textures.push_back(std::move(texture));
    }

    int32_t objectCount = ReadCount(table, "objects");
    collection.objects.resize(static_cast<size_t>(objectCount));
    uint64_t total = 0;
    for (int32_t i = 1; i <= objectCount; ++i) {
        RtString name = folder + IniLookup(table, "objects", RtString(i)), path;
        // An object that cannot be resolved still fails through the loader, with its log lines.
        if (!ArchiveResolve(name, path)) path = name;
        KydModel& object = collection.objects[static_cast<size_t>(i - 1)];
        if (total <= kMaxCollectionBytes) ModelLoad(object, path, false);
        total += ModelBytes(object);
        if (total > kMaxCollectionBytes) {
            object = KydModel{};
            WriteErrorLog("# malloc error");
            WriteErrorLog(path.c_str());
        }
        collection.textureA.push_back(ReadTextureNumber(table, i, "ta", collection.textures.size()));
        collection.textureB.push_back(ReadTextureNumber(table, i, "tb", collection.textures.size()));
    }
}
