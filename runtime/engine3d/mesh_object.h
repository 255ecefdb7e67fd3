// MeshObject: one frame of a KYD object ready to draw, its faces as triangle fans.
#pragma once

#include "runtime/engine3d/kyd_model.h"

#include <cstdint>
#include <vector>

struct MeshVertex {
    float position[3];
    float normal[3];
    float colour[3];
    float u, v;
};

struct MeshObject {
    std::vector<MeshVertex> vertices; // the frame's ordinary vertices
    std::vector<uint32_t> triangles;  // three indexes each, every face fanned from its first corner
    float centre[3] = {0, 0, 0};      // bounding sphere, object space
    float radius = 0;
    uint32_t textureA = 0; // GL names on units 0 and 1, not owned; 0 for none
    uint32_t textureB = 0;
};

// The frame's decoded vertices (decoding packed ones when needed); each run of ordinary vertices
// between markers is a face.
void MeshBuild(MeshObject& mesh, const KydModel& model, const KydFrame& frame);
// Under the current model-view matrix, with the bound state as it is.
void MeshDrawArrays(const MeshObject& mesh);
