// ObjectCollection: the objects and textures an INI collection file names.
#pragma once

#include "runtime/engine3d/kyd_model.h"

#include <cstdint>
#include <vector>

struct CollectionTexture {
    uint32_t texture = 0; // 0: the image could not be loaded
    uint32_t mipTexture = 0;
};

// Owns its GL textures.
struct ObjectCollection {
    std::vector<CollectionTexture> textures;
    std::vector<KydModel> objects;
    // Per object, its first and second texture counted from 0; -1 for none.
    std::vector<int32_t> textureA;
    std::vector<int32_t> textureB;

    ObjectCollection() = default;
    ObjectCollection(const ObjectCollection&) = delete;
    ObjectCollection& operator=(const ObjectCollection&) = delete;
    ~ObjectCollection();
    void FreeTextures();
};

// Collections never hold more entries than this, whatever counts the file states.
constexpr int32_t kMaxCollectionEntries = 65536;
