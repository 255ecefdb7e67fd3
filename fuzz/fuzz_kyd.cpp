// Fuzz target: the KYD reader on arbitrary bytes, both forms, decoding on, the writer on whatever
// it accepted, and the mesh built from its first frame (faces triangulated, edges paired).
#include "runtime/engine3d/kyd_model.h"
#include "runtime/engine3d/mesh_object.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KydModel model;
    if (KydRead(model, data, size, true) != KydError::None) {
        if (model.loaded || !model.frames.empty() || !model.palette.empty()) std::abort();
        return 0;
    }
    if (!model.frames.empty()) {
        MeshObject mesh;
        MeshBuild(mesh, model, model.frames[0]);
        for (uint32_t index : mesh.triangles)
            if (index >= mesh.vertices.size()) std::abort();
    }
    std::vector<uint8_t> bytes;
    if (KydWriteCompact(model, bytes)) {
        KydModel again;
        if (KydRead(again, bytes.data(), bytes.size(), true) != KydError::None) std::abort();
    }
    return 0;
}
