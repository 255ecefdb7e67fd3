// ObjectCollection: the objects and textures an INI collection file names.
#pragma once

#include "runtime/engine3d/kyd_model.h"

#include <cstdint>
#include <memory>
#include <vector>

// A collection's texture; its GL names are deleted with it, once no collection or mesh holds it.
struct CollectionTexture {
    uint32_t texture = 0; // 0: the image could not be loaded
    uint32_t mipTexture = 0;

    CollectionTexture() = default;
    CollectionTexture(const CollectionTexture&) = delete;
    CollectionTexture& operator=(const CollectionTexture&) = delete;
    ~CollectionTexture();
};

struct ObjectCollection {
    std::vector<std::shared_ptr<CollectionTexture>> textures;
    std::vector<KydModel> objects;
    // Per object, its first and second texture counted from 0; -1 for none.
    std::vector<int32_t> textureA;
    std::vector<int32_t> textureB;
};

// Collections never hold more entries than this, whatever counts the file states.
constexpr int32_t kMaxCollectionEntries = 65536;
// The object files of one collection together: those past it are not loaded.
constexpr uint64_t kMaxCollectionBytes = 64ull << 20;
