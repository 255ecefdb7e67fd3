// MeshObject: one frame of a KYD object ready to draw, its faces as triangles, and the textures it
// draws with.
#pragma once

#include "runtime/engine3d/kyd_model.h"
#include "runtime/engine3d/object_collection.h"

#include <cstdint>
#include <memory>
#include <vector>

struct MeshVertex {
    float position[3];
    float normal[3];
    float colour[3];
    float u, v;
};

// A texture unit's source: a sprite's texture, looked up at each draw so that a freed sprite is no
// longer drawn, or a collection's texture, which stays alive while a mesh uses it.
struct MeshTextureSource {
    int32_t sprite = -1;
    std::shared_ptr<const CollectionTexture> owned;
};

struct MeshObject {
    std::vector<MeshVertex> vertices; // the frame's ordinary vertices
    std::vector<uint32_t> triangles;  // three indexes each, in each face's winding
    // Per triangle edge (a b, b c, c a), the one other triangle sharing it by position; -1 for none.
    std::vector<int32_t> neighbours;
    float centre[3] = {0, 0, 0}; // bounding sphere, object space
    float radius = 0;
    MeshTextureSource textureA; // units 0 and 1
    MeshTextureSource textureB;
};

// The frame's decoded vertices (decoding packed ones when needed); each run of ordinary vertices
// between markers is a face, concave ones included.
void MeshBuild(MeshObject& mesh, const KydModel& model, const KydFrame& frame);
// Under the current model-view matrix, with the bound state as it is; texture coordinates go to the
// first textureUnits units (0 to 2).
void MeshDrawArrays(const MeshObject& mesh, int textureUnits);
// The GL name a source draws with now; 0 for none.
uint32_t MeshTextureName(const MeshTextureSource& source);
