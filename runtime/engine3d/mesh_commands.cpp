// The numbered meshes: loading from files, models and collections, textures, and drawing under the
// object transform with meshes outside the view skipped.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>

namespace {} // namespace

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

uint32_t SpriteTexture(int32_t sprite) {
    const SpriteSlot* slot = SlotOf(sprite);
    if (!slot) return 0;
    return slot->mipTexture ? slot->mipTexture : slot->texture;
}

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
    MeshBuild(*target, model, model.frames[static_cast<size_t>(frame)]);
    return 1;
}

int32_t MeshLoad(int32_t mesh, const RtString& file) {
    KydModel model;
    return ModelLoad(model, file, true) ? MeshFromModel(mesh, model, 0) : 0;
}

void MeshTexture(int32_t mesh, int32_t spriteA, int32_t spriteB) {
    MeshObject* target = MeshSlot(mesh, false);
    if (!target) return;
    target->textureA = SpriteTexture(spriteA);
    target->textureB = SpriteTexture(spriteB);
}

int32_t MeshLoadCollection(int32_t firstMesh, const RtString& file) {
    auto collection = std::make_unique<ObjectCollection>();
    ObjectCollectionLoad(*collection, file, Gfx2d().spriteColourKey);
    auto textureName = [&](int32_t index) {
        if (index < 0 || static_cast<size_t>(index) >= collection->textures.size()) return 0u;
        const CollectionTexture& texture = collection->textures[static_cast<size_t>(index)];
        return texture.mipTexture ? texture.mipTexture : texture.texture;
    };
    int32_t loaded = 0;
    for (size_t i = 0; i < collection->objects.size(); ++i) {
        int32_t mesh = firstMesh + static_cast<int32_t>(i);
        if (!MeshFromModel(mesh, collection->objects[i], 0)) continue;
        MeshObject& target = *MeshSlot(mesh, false);
        target.textureA = textureName(collection->textureA[i]);
        target.textureB = textureName(collection->textureB[i]);
        ++loaded;
    }
    Engine3D().collections.push_back(std::move(collection));
    return loaded;
}

int32_t MeshDraw(int32_t mesh) {
    Vividoru3D& engine = Engine3D();
    const MeshObject* source = MeshSlot(mesh, false);
    if (!source || source->triangles.empty() || !Visible(engine, *source)) return 0;
    FlushGL();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(MultiplyMatrix(engine.viewMatrix, engine.objectTransform).data());
    BindMeshTextures(source->textureA, source->textureB);
    MeshDrawArrays(*source);
    glLoadMatrixf(engine.viewMatrix.data());
    ++engine.meshesDrawn;
    return 1;
}

int32_t MeshesDrawn() { return Engine3D().meshesDrawn; }
