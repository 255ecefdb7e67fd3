// The numbered meshes: loading from files, models and collections, textures, and drawing under the
// object transform with meshes outside the view skipped.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <new>

MeshObject* MeshSlot(int32_t mesh, bool create) {
    Vividoru3D& engine = Engine3D();
    if (mesh < 0 || mesh >= kMaxMeshes) return nullptr;
    auto index = static_cast<size_t>(mesh);
    if (index >= engine.meshes.size()) {
        if (!create) return nullptr;
        engine.meshes.resize(index + 1);
    }
    return &engine.meshes[index];
}

namespace {

bool Visible(const Vividoru3D& engine, const MeshObject& mesh) {
    const Matrix4& m = engine.objectTransform;
    std::array<float, 3> centre = TransformPoint(m, mesh.centre);
    float largestScale = 0;
    for (int column = 0; column < 3; ++column)
        largestScale =
            std::max(largestScale, std::sqrt(m[column * 4] * m[column * 4] + m[column * 4 + 1] * m[column * 4 + 1] +
                                             m[column * 4 + 2] * m[column * 4 + 2]));
    float radius = mesh.radius * largestScale;
    for (const Plane& p : engine.frustumPlanes)
        if (p.a * centre[0] + p.b * centre[1] + p.c * centre[2] + p.d < -radius) return false;
    return true;
}

} // namespace

int32_t MeshFromModel(int32_t mesh, const KydModel& model, int32_t frame) {
    MeshObject* target = MeshSlot(mesh, true);
    if (!target || frame < 0 || static_cast<size_t>(frame) >= model.frames.size()) return 0;
    *target = MeshObject{};
    try {
        MeshBuild(*target, model, model.frames[static_cast<size_t>(frame)]);
    } catch (const std::bad_alloc&) {
        *target = MeshObject{};
        return 0;
    }
    return 1;
}

int32_t MeshLoad(int32_t mesh, const RtString& file) {
    KydModel model;
    return ModelLoad(model, file, true) ? MeshFromModel(mesh, model, 0) : 0;
}

void MeshTexture(int32_t mesh, int32_t spriteA, int32_t spriteB) {
    MeshObject* target = MeshSlot(mesh, false);
    if (!target) return;
    target->textureA = MeshTextureSource{spriteA, nullptr};
    target->textureB = MeshTextureSource{spriteB, nullptr};
}

void MeshFree(int32_t mesh) {
    if (MeshObject* target = MeshSlot(mesh, false)) *target = MeshObject{};
}

// Meshes the collection replaces let go of their textures as they are rebuilt; the collection's own
// textures stay alive only through the meshes that use them.
int32_t MeshLoadCollection(int32_t firstMesh, const RtString& file) {
    ObjectCollection collection;
    ObjectCollectionLoad(collection, file, Gfx2d().spriteColourKey);
    auto texture = [&](int32_t index) {
        if (index < 0 || static_cast<size_t>(index) >= collection.textures.size()) return MeshTextureSource{};
        return MeshTextureSource{-1, collection.textures[static_cast<size_t>(index)]};
    };
    int32_t loaded = 0;
    for (size_t i = 0; i < collection.objects.size(); ++i) {
        // Range-checked before it is added: a first mesh near the top of int32 must not wrap.
        int64_t mesh = int64_t{firstMesh} + static_cast<int64_t>(i);
        if (mesh < 0 || mesh >= kMaxMeshes) continue;
        if (!MeshFromModel(static_cast<int32_t>(mesh), collection.objects[i], 0)) continue;
        MeshObject& target = *MeshSlot(static_cast<int32_t>(mesh), false);
        target.textureA = texture(collection.textureA[i]);
        target.textureB = texture(collection.textureB[i]);
        ++loaded;
    }
    return loaded;
}

int32_t MeshDraw(int32_t mesh) {
    Vividoru3D& engine = Engine3D();
    const MeshObject* source = MeshSlot(mesh, false);
    if (!source || source->triangles.empty() || !Visible(engine, *source)) return 0;
    FlushGL();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(MultiplyMatrix(engine.viewMatrix, engine.objectTransform).data());
    uint32_t textureA = MeshTextureName(source->textureA), textureB = MeshTextureName(source->textureB);
    BindMeshTextures(textureA, textureB);
    // Scaled objects keep their lighting: Scene3DBegin leaves normalisation off for everything else.
    glEnable(GL_NORMALIZE);
    MeshDrawArrays(*source, textureB ? 2 : textureA ? 1 : 0);
    glDisable(GL_NORMALIZE);
    glLoadMatrixf(engine.viewMatrix.data());
    ++engine.meshesDrawn;
    return 1;
}

int32_t MeshesDrawn() { return Engine3D().meshesDrawn; }
