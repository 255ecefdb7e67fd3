// MeshObject: a KYD frame's faces as one indexed triangle list, its bounding sphere, and drawing it
// from client arrays.
#include "runtime/engine3d/mesh_object.h"

#include "runtime/core/gl_extensions.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

void FanFace(MeshObject& mesh, uint32_t first, uint32_t count) {
    for (uint32_t i = 1; i + 1 < count; ++i)
        mesh.triangles.insert(mesh.triangles.end(), {first, first + i, first + i + 1});
}

void BoundingSphere(MeshObject& mesh) {
    if (mesh.vertices.empty()) return;
    float low[3], high[3];
    for (int k = 0; k < 3; ++k) low[k] = high[k] = mesh.vertices[0].position[k];
    for (const MeshVertex& v : mesh.vertices)
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], v.position[k]);
            high[k] = std::max(high[k], v.position[k]);
        }
    for (int k = 0; k < 3; ++k) mesh.centre[k] = (low[k] + high[k]) / 2;
    float radiusSquared = 0;
    for (const MeshVertex& v : mesh.vertices) {
        float d[3] = {v.position[0] - mesh.centre[0], v.position[1] - mesh.centre[1], v.position[2] - mesh.centre[2]};
        radiusSquared = std::max(radiusSquared, d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    }
    mesh.radius = std::sqrt(radiusSquared);
}

} // namespace

void MeshBuild(MeshObject& mesh, const KydModel& model, const KydFrame& frame) {
    mesh.vertices.clear();
    mesh.triangles.clear();
    mesh.radius = 0;
    KydFrame decodedCopy;
    const std::vector<KydVertex>* decoded = &frame.decoded;
    if (decoded->size() != frame.packed.size() && !frame.packed.empty()) {
        decodedCopy = frame;
        KydDecodeFrame(model, decodedCopy);
        decoded = &decodedCopy.decoded;
    }
    uint32_t faceStart = 0;
    for (const KydVertex& v : *decoded) {
        if (IsKydMarker(v.colourValue)) {
            FanFace(mesh, faceStart, static_cast<uint32_t>(mesh.vertices.size()) - faceStart);
            faceStart = static_cast<uint32_t>(mesh.vertices.size());
            continue;
        }
        mesh.vertices.push_back({{v.position[0], v.position[1], v.position[2]},
                                 {v.normal[0], v.normal[1], v.normal[2]},
                                 {v.colour[0], v.colour[1], v.colour[2]},
                                 v.u,
                                 v.v});
    }
    FanFace(mesh, faceStart, static_cast<uint32_t>(mesh.vertices.size()) - faceStart);
    BoundingSphere(mesh);
}

void MeshDrawArrays(const MeshObject& mesh) {
    if (mesh.triangles.empty()) return;
    constexpr GLsizei stride = sizeof(MeshVertex);
    const MeshVertex* first = mesh.vertices.data();
    GlExtensions& ext = GlExt();
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, first->position);
    glNormalPointer(GL_FLOAT, stride, first->normal);
    glColorPointer(3, GL_FLOAT, stride, first->colour);
    // Both texture units read the same coordinates.
    int units = ext.glClientActiveTextureARB ? 2 : 1;
    for (int unit = 0; unit < units; ++unit) {
        if (ext.glClientActiveTextureARB) ext.glClientActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &first->u);
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(mesh.triangles.size()), GL_UNSIGNED_INT, mesh.triangles.data());
    for (int unit = units - 1; unit >= 0; --unit) {
        if (ext.glClientActiveTextureARB) ext.glClientActiveTextureARB(GL_TEXTURE0_ARB + static_cast<GLenum>(unit));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
}
