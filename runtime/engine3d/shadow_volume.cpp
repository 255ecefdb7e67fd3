// Shadow volumes of meshes: each triangle that faces the shadow light becomes a closed prism reaching
// away from the light, and the stencil's parity counts the prism faces behind each pixel (depth-fail),
// so a camera inside a volume sees the same shadows as one outside.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Vector3 = std::array<float, 3>;

Vector3 Minus(const Vector3& a, const Vector3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

float Dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The point moved away from the light by reach, or only to just inside the far plane: a prism the far
// plane clipped would lose its far cap and shadow the empty background behind it.
Vector3 Extruded(const Vector3& p, const Vector3& light, float reach, const Plane& far, float margin) {
    Vector3 d = Minus(p, light);
    float length = std::sqrt(Dot(d, d));
    if (length == 0) return p;
    for (float& c : d) c /= length;
    float toward = -(far.a * d[0] + far.b * d[1] + far.c * d[2]);
    if (toward > 0) {
        float inside = far.a * p[0] + far.b * p[1] + far.c * p[2] + far.d - margin;
        reach = std::clamp(inside / toward, 0.0f, reach);
    }
    return {p[0] + d[0] * reach, p[1] + d[1] * reach, p[2] + d[2] * reach};
}

void Triangle(const Vector3& a, const Vector3& b, const Vector3& c) {
    glVertex3fv(a.data());
    glVertex3fv(b.data());
    glVertex3fv(c.data());
}

} // namespace

int32_t MeshDrawShadow(int32_t mesh) {
    Vividoru3D& engine = Engine3D();
    const MeshObject* source = MeshSlot(mesh, false);
    if (!source || source->triangles.empty() || !engine.shadowLightOn || !engine.stencilMode) return 0;
    const Vector3& light = engine.shadowLightPosition;
    // Beyond anything the projection shows.
    float reach = 2 * std::fabs(engine.farPlane);
    float margin = 1e-3f * std::fabs(engine.farPlane - engine.nearPlane);
    const Plane& far = engine.frustumPlanes[4];
    FlushGL();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(engine.viewMatrix.data());
    // Every face of every prism counts, front or back, where it lies behind what was drawn. Pushed a
    // little back, the cap on the mesh itself counts as behind it, so the lit side is not shadowed.
    glPushAttrib(GL_ENABLE_BIT | GL_STENCIL_BUFFER_BIT | GL_POLYGON_BIT);
    glDisable(GL_CULL_FACE);
    glStencilOp(GL_KEEP, GL_INVERT, GL_KEEP);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 1);
    size_t triangleCount = source->triangles.size() / 3;
    std::vector<Vector3> world(source->vertices.size());
    for (size_t i = 0; i < world.size(); ++i)
        world[i] = TransformPoint(engine.objectTransform, source->vertices[i].position);
    std::vector<bool> facing(triangleCount);
    for (size_t t = 0; t < triangleCount; ++t) {
        const uint32_t* v = &source->triangles[3 * t];
        facing[t] =
            Dot(Cross(Minus(world[v[1]], world[v[0]]), Minus(world[v[2]], world[v[0]])), Minus(light, world[v[0]])) > 0;
    }
    glBegin(GL_TRIANGLES);
    for (size_t t = 0; t < triangleCount; ++t) {
        if (!facing[t]) continue;
        Vector3 w[3], e[3];
        for (int i = 0; i < 3; ++i) {
            w[i] = world[source->triangles[3 * t + i]];
            e[i] = Extruded(w[i], light, reach, far, margin);
        }
        Triangle(w[0], w[1], w[2]);
        Triangle(e[0], e[1], e[2]);
        // A side shared with another lit triangle is drawn by both and cancels out: left out.
        for (int i = 0; i < 3; ++i) {
            int32_t other = source->neighbours[3 * t + i];
            if (other >= 0 && facing[static_cast<size_t>(other)]) continue;
            int j = (i + 1) % 3;
            Triangle(w[i], w[j], e[j]);
            Triangle(w[i], e[j], e[i]);
        }
    }
    glEnd();
    glPopAttrib();
    ++engine.meshesDrawn;
    return 1;
}
