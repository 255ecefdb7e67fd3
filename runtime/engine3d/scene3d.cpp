// The 3D frame: Scene3DBegin with its projection and fixed state, the camera and the frustum
// planes, face culling, fog, and the texture units the meshes use.
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d_state.h"

#include <GL/gl.h>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;

// The single-precision odd polynomial the projection's half-angle tangent comes from.
float TangentPolynomial(float x) {
    float x2 = x * x;
    return x * (1 + x2 * (0.3333314f +
                          x2 * (0.1333924f +
                                x2 * (0.05337406f + x2 * (0.02456509f + x2 * (0.002900525f + x2 * 0.009516809f))))));
}

using Vector3 = std::array<float, 3>;

Vector3 Cross(const Vector3& a, const Vector3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// A vector of length 0 stays as it is rather than becoming NaN.
Vector3 Normalised(Vector3 v) {
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0)
        for (float& c : v) c /= length;
    return v;
}

void SetFixedState() {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.05f);
    glColor4f(1, 1, 1, Gfx2d().blendAlpha);
    glClearColor(0, 0, 0, 1);
    for (GLenum cap : {GL_FOG, GL_LINE_SMOOTH, GL_POINT_SMOOTH, GL_POLYGON_SMOOTH, GL_POLYGON_OFFSET_POINT,
                       GL_AUTO_NORMAL, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_STENCIL_TEST, GL_NORMALIZE, GL_LIGHTING})
        glDisable(cap);
    glShadeModel(GL_SMOOTH);
    // Vertex colours are the diffuse colour; the rest of the material is GL's default again, not
    // whatever an earlier colour tracking left in it.
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1}, black[4] = {0, 0, 0, 1};
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
}

} // namespace

void BindMeshTextures(uint32_t textureA, uint32_t textureB) {
    GlExtensions& ext = GlExt();
    if (ext.glActiveTextureARB) {
        ext.glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, textureB);
        textureB ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        ext.glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glBindTexture(GL_TEXTURE_2D, textureA);
    textureA ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
    ShaderSetIntQuiet("TextureID1", 0);
    ShaderSetIntQuiet("TextureID2", 1);
}

void Scene3DBegin(double nearPlane, double farPlane, double fieldOfView) {
    Vividoru3D& engine = Engine3D();
    OpenGLVividoru& device = engine.device;
    FlushGL();
    glClear(GL_DEPTH_BUFFER_BIT);
    BindMeshTextures(0, 0);
    if (engine.stencilMode) ShadowMode(0);

    float fov = static_cast<float>(fieldOfView);
    engine.viewAngleTangent = std::tan(std::min(fov + 5.0f, 89.0f) * kDegree);
    engine.nearPlane = static_cast<float>(nearPlane);
    engine.farPlane = static_cast<float>(farPlane);
    engine.cameraUp = {0, 1, 0};

    double aspect = static_cast<double>(device.viewportWidth) / device.viewportHeight;
    glViewport(device.viewportX, device.height - device.viewportHeight - device.viewportY, device.viewportWidth,
               device.viewportHeight);
    double h = TangentPolynomial(std::fabs(fov) * std::numbers::pi_v<float> / 360.0f) * nearPlane;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (fov > 0) {
        glFrustum(-aspect * h, aspect * h, -h, h, nearPlane, farPlane);
    } else {
        h *= 100;
        glOrtho(-aspect * h, aspect * h, -h, h, nearPlane, farPlane);
        engine.viewAngleTangent = std::tan(89.0f * kDegree);
    }
    glGetFloatv(GL_PROJECTION_MATRIX, engine.projection.data());
    SetFixedState();
    // The stored mode governs: a frame starts without culling, as its mode 0 says.
    CullMode(0);

    engine.shadowLightOn = false;
    engine.objectStack.clear();
    engine.objectTransform = IdentityMatrix();
    CameraSet(0, 0, 0, 0, 0, -1);
}

void CameraUp(double x, double y, double z) {
    Engine3D().cameraUp = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

void CameraSet(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ) {
    Vividoru3D& engine = Engine3D();
    engine.cameraEye = {static_cast<float>(eyeX), static_cast<float>(eyeY), static_cast<float>(eyeZ)};
    engine.cameraTarget = {static_cast<float>(targetX), static_cast<float>(targetY), static_cast<float>(targetZ)};
    const Vector3& eye = engine.cameraEye;
    Vector3 f =
        Normalised({eye[0] - engine.cameraTarget[0], eye[1] - engine.cameraTarget[1], eye[2] - engine.cameraTarget[2]});
    Vector3 s = Normalised(Cross(engine.cameraUp, f));
    Vector3 u = Normalised(Cross(f, s));
    Matrix4 rotation = IdentityMatrix();
    for (int k = 0; k < 3; ++k) {
        rotation[k * 4 + 0] = s[k];
        rotation[k * 4 + 1] = u[k];
        rotation[k * 4 + 2] = f[k];
    }
    engine.viewMatrix = MultiplyMatrix(rotation, TranslationMatrix(-eye[0], -eye[1], -eye[2]));
    FlushGL();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(engine.viewMatrix.data());
    engine.objectTransform = IdentityMatrix();
    ComputeFrustumPlanes(engine);
}

void ComputeFrustumPlanes(Vividoru3D& engine) {
    Matrix4 m = MultiplyMatrix(engine.projection, engine.viewMatrix);
    auto row = [&](int i) { return std::array<float, 4>{m[i], m[4 + i], m[8 + i], m[12 + i]}; };
    const std::array<float, 4> r4 = row(3);
    const std::pair<int, float> combos[6] = {{0, -1}, {0, 1}, {1, 1}, {1, -1}, {2, -1}, {2, 1}};
    for (int p = 0; p < 6; ++p) {
        std::array<float, 4> r = row(combos[p].first);
        float sign = combos[p].second;
        Plane plane{r4[0] + sign * r[0], r4[1] + sign * r[1], r4[2] + sign * r[2], r4[3] + sign * r[3]};
        float length = std::sqrt(plane.a * plane.a + plane.b * plane.b + plane.c * plane.c);
        if (length > 0) plane = {plane.a / length, plane.b / length, plane.c / length, plane.d / length};
        engine.frustumPlanes[static_cast<size_t>(p)] = plane;
    }
}

void CullMode(int32_t mode) {
    Engine3D().cullMode = static_cast<int8_t>(std::clamp(mode, -128, 127));
    if (mode < -1 || mode > 1) return;
    FlushGL();
    if (mode == 0) {
        glDisable(GL_CULL_FACE);
        return;
    }
    glEnable(GL_CULL_FACE);
    glFrontFace(mode == 1 ? GL_CW : GL_CCW);
    glCullFace(GL_BACK);
}

void FogSet(int32_t colour, int32_t mode, double start, double end) {
    FlushGL();
    if (colour == -1) {
        glDisable(GL_FOG);
        return;
    }
    Vividoru3D& engine = Engine3D();
    glEnable(GL_FOG);
    if (mode != 0) {
        glFogi(GL_FOG_MODE, GL_EXP);
        glFogf(GL_FOG_DENSITY, static_cast<float>(start));
    } else {
        bool useClipPlanes = start == 0 && end == 0;
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, useClipPlanes ? engine.nearPlane : static_cast<float>(start));
        glFogf(GL_FOG_END, useClipPlanes ? engine.farPlane : static_cast<float>(end));
    }
    const float rgba[4] = {static_cast<float>(colour & 255) / 255.0f, static_cast<float>((colour >> 8) & 255) / 255.0f,
                           static_cast<float>((colour >> 16) & 255) / 255.0f, 0.0f};
    glFogfv(GL_FOG_COLOR, rgba);
}
