// Shadow volumes of meshes: each triangle that faces the shadow light becomes a closed prism reaching
// away from the light, so the stencil's parity marks what lies behind the mesh.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"

#include <GL/gl.h>
#include <cmath>

namespace {

using Vector3 = std::array<float, 3>;

Vector3 Minus(const Vector3& a, const Vector3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }

float Dot(const Vector3& a, const Vector3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The point moved away from the light by reach.
Vector3 Extruded(const Vector3& p, const Vector3& light, float reach) {
    Vector3 d = Minus(p, light);
    float length = std::sqrt(Dot(d, d));
    if (length == 0) return p;
    float k = reach / length;
    return {p[0] + d[0] * k, p[1] + d[1] * k, p[2] + d[2] * k};
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
    FlushGL();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(engine.viewMatrix.data());
    // Every face of every prism counts, front or back.
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_CULL_FACE);
    glBegin(GL_TRIANGLES);
    for (size_t t = 0; t + 2 < source->triangles.size(); t += 3) {
        Vector3 w[3], e[3];
        for (int i = 0; i < 3; ++i)
            w[i] = TransformPoint(engine.objectTransform, source->vertices[source->triangles[t + i]].position);
        if (Dot(Cross(Minus(w[1], w[0]), Minus(w[2], w[0])), Minus(light, w[0])) <= 0) continue;
        for (int i = 0; i < 3; ++i) e[i] = Extruded(w[i], light, reach);
        Triangle(w[0], w[1], w[2]);
        Triangle(e[0], e[1], e[2]);
        for (int i = 0; i < 3; ++i) {
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
