// The 3D frame's state and the lights, read back from the engine and from GL.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "tests/engine3d/engine_test_support.h"

#include <GL/gl.h>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180;

float Side(const Plane& p, float x, float y, float z) { return p.a * x + p.b * y + p.c * z + p.d; }

} // namespace

TEST(Scene3D, ProjectionCameraAndFrustum) {
    StartEngine();
    Vividoru3D& engine = Engine3D();
    Scene3DBegin(1, 100, 90);
    EXPECT_NEAR(engine.viewAngleTangent, std::tan(89 * kDegree), 1e-3);
    Scene3DBegin(1, 100, 40);
    EXPECT_NEAR(engine.viewAngleTangent, std::tan(45 * kDegree), 1e-5);
    EXPECT_NEAR(1 / engine.projection[5], std::tan(20 * kDegree), 1e-5); // perspective: h = near tan(fov/2)
    // Orthographic: half-height 100 x near x tan(|fov| / 2).
    Scene3DBegin(2, 100, -60);
    EXPECT_NEAR(1 / engine.projection[5], 200 * std::tan(30 * kDegree), 1e-3);
    EXPECT_NEAR(engine.viewAngleTangent, std::tan(89 * kDegree), 1e-3);
    EXPECT_EQ(engine.projection[15], 1.0f);

    Scene3DBegin(1, 100, 60);
    CameraSet(3, 3, 3, 3, 3, 3);
    for (float m : engine.viewMatrix) EXPECT_FALSE(std::isnan(m));
    for (const Plane& p : engine.frustumPlanes) EXPECT_FALSE(std::isnan(p.a + p.b + p.c + p.d));

    CameraSet(0, 0, 10, 0, 0, 0);
    for (const Plane& p : engine.frustumPlanes) EXPECT_GT(Side(p, 0, 0, 0), 0);
    EXPECT_LT(Side(engine.frustumPlanes[5], 0, 0, 12), 0); // behind the camera: outside the near plane
    EXPECT_LT(Side(engine.frustumPlanes[4], 0, 0, -200), 0);

    // The up vector turns the view: up along x puts world +y on the screen's left.
    CameraUp(1, 0, 0);
    CameraSet(0, 0, 10, 0, 0, 0);
    EXPECT_NEAR(engine.viewMatrix[1], 1, 1e-6); // world x maps to eye y
    Scene3DBegin(1, 100, 60);
    EXPECT_EQ(engine.cameraUp, (std::array<float, 3>{0, 1, 0}));
    EXPECT_EQ(engine.cameraTarget, (std::array<float, 3>{0, 0, -1}));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST(Lights, NumbersCasesAndSwitchingOff) {
    StartEngine();
    Scene3DBegin(1, 100, 60);
    CameraSet(0, 0, 10, 0, 0, 0);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    LightSet(9, 0xFFFFFF, 1, 2, 3, 0, 0, 0, 100);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(before, before + 16, after));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(Engine3D().enabledLights, 2);

    struct Case {
        double cutoff;
        float spotCutoff, w;
    };
    const Case cases[] = {{45, 45, 1}, {90, 90, 1}, {91, 180, 1}, {180, 180, 0}, {-10, 0, 1}};
    for (const Case& c : cases) {
        LightSet(2, 0x00FF00, 1, 2, 3, 0, -1, 0, c.cutoff);
        GLfloat cutoff = -1, position[4] = {};
        glGetLightfv(GL_LIGHT2, GL_SPOT_CUTOFF, &cutoff);
        glGetLightfv(GL_LIGHT2, GL_POSITION, position);
        EXPECT_EQ(cutoff, c.spotCutoff) << c.cutoff;
        EXPECT_EQ(position[3], c.w) << c.cutoff;
    }
    // A directional light shines along its direction: its position points against it.
    GLfloat position[4];
    glGetLightfv(GL_LIGHT2, GL_POSITION, position);
    EXPECT_GT(position[1], 0.99f);

    LightSet(2, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING)); // light 1 is still on
    LightSet(1, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_EQ(Engine3D().enabledLights, 0);

    LightSet(-1, 0x0080FF, 4, 5, 6, 0, 0, 0, -2);
    EXPECT_TRUE(Engine3D().shadowLightOn);
    EXPECT_EQ(Engine3D().shadowType, 1);
    EXPECT_EQ(Engine3D().shadowLightPosition, (std::array<float, 3>{4, 5, 6}));
    EXPECT_EQ(Engine3D().shadowLightColour[1], 128 / 255.0f);
    LightSet(-7, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(Engine3D().shadowType, 2);
    EXPECT_FALSE(Engine3D().shadowLightOn);
}
