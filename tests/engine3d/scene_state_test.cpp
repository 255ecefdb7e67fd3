// The 3D view read back as pixels: projections, the camera, the frustum's skipping by bounds, and each
// kind of light on a white quad facing the camera.
#include "runtime/engine3d/engine3d.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kQuad = 30;

// The first and last lit pixel of a row; -1, -1 when it is dark.
std::pair<int, int> LitSpan(int y) {
    std::pair<int, int> span{-1, -1};
    for (int x = 0; x < 640; ++x)
        if (BackBufferPixel(x, y) != 0) span = {span.first < 0 ? x : span.first, x};
    return span;
}

} // namespace

// A square of side 2 at the origin, the camera 5 away: 240 pixels cover d tan(fov/2) above the
// centre in perspective, 100 near tan(|fov|/2) in an orthographic view.
TEST(Scene3D, ProjectionsAndTheCameraPlaceAQuad) {
    struct Case {
        double nearPlane, fov;
        float half;
        int halfWidth; // in pixels
    };
    for (Case c : {Case{1, 90, 1, 48}, Case{1, 60, 1, 83}, Case{0.5, 30, 0.5, 90}, Case{2, -60, 50, 104},
                   Case{1, -90, 50, 120}}) {
        StartEngine();
        Scene3DBegin(c.nearPlane, 9, c.fov);
        CameraSet(0, 0, 5, 0, 0, 0);
        LoadQuad(kQuad, 0xFFFFFF, Square(c.half, 0));
        MeshDraw(kQuad);
        auto [first, last] = LitSpan(240);
        EXPECT_NEAR(first, 320 - c.halfWidth, 1.5) << c.fov;
        EXPECT_NEAR(last, 319 + c.halfWidth, 1.5) << c.fov;
    }

    // With the camera's up along world x, world +y lies on the screen's left; the next frame is upright
    // again, and looks from the origin down -z.
    LoadQuad(kQuad, 0xFFFFFF, Square(0.5f, 0));
    BeginScene();
    CameraUp(1, 0, 0);
    CameraSet(0, 0, 5, 0, 0, 0);
    ObjectMove(0, 2, 0);
    MeshDraw(kQuad);
    EXPECT_NE(BackBufferPixel(320 - 96, 240), 0u);
    EXPECT_EQ(BackBufferPixel(320, 240 - 96), 0u);
    StartEngine();
    Scene3DBegin(1, 9, 90);
    ObjectMove(0, 2, -5);
    MeshDraw(kQuad);
    EXPECT_NE(BackBufferPixel(320, 240 - 96), 0u);
    EXPECT_EQ(BackBufferPixel(320 - 96, 240), 0u);
}

// Whether a mesh is drawn goes by its bounding sphere, scaled with the object: a quad whose sphere
// reaches into the view is drawn, even in part; one wholly outside or behind the camera is skipped.
TEST(Scene3D, TheFrustumSkipsOnlyMeshesWhollyOutside) {
    struct Case {
        float x, z, scale;
        int32_t drawn;
        int litX; // a pixel of row 240 the quad shows on, or -1
    };
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    for (Case c : {Case{0, 0, 1, 1, 320}, Case{0, 20, 1, 0, -1}, Case{50, 0, 1, 0, -1}, Case{8.5f, 0, 1, 1, -1},
                   Case{9.5f, 0, 1, 0, -1}, Case{9.3f, 0, 3, 1, 635}, Case{0, -4.5f, 1, 1, -1},
                   Case{0, -6, 1, 0, -1}}) {
        BeginScene();
        int32_t before = MeshesDrawn();
        ObjectMove(c.x, 0, c.z);
        ObjectScale(c.scale, c.scale, c.scale);
        EXPECT_EQ(MeshDraw(kQuad), c.drawn) << c.x << " " << c.z << " " << c.scale;
        EXPECT_EQ(MeshesDrawn() - before, c.drawn);
        if (c.litX >= 0) {
            EXPECT_EQ(BackBufferPixel(c.litX, 240), 0xFFFFFFu) << c.x;
        }
    }
    BeginScene();
    ObjectMove(0, 7.5, 0);
    ObjectScale(1, 3, 1); // the sphere grows with the largest scale, here along y
    EXPECT_EQ(MeshDraw(kQuad), 1);
    EXPECT_EQ(BackBufferPixel(320, 5), 0xFFFFFFu);
    BeginScene();
    ObjectPush();
    ObjectMove(50, 0, 0);
    ObjectPop();
    ObjectPop();
    EXPECT_EQ(MeshDraw(kQuad), 1) << "back where it was pushed";
    EXPECT_EQ(MeshDraw(-1) + MeshDraw(70000) + MeshDraw(kQuad + 1), 0);
}

// The white quad at the origin faces the camera at z = 5: the ambient 0.2 x 0.2 gives 0x0A, a light
// of 0x80 that reaches it head-on adds 0x80. Lights are in world coordinates, and far enough away to
// reach every corner head-on.
TEST(Lights, EachKindLightsWhatItReaches) {
    struct Case {
        int32_t number;
        float x, y, z, dx, dy, dz;
        double cutoff;
        uint32_t centre;
        const char* what;
    };
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    for (Case c : {Case{0, 0, 0, 0, 0, 0, 0, 1, 0x8A8A8A, "head light"},
                   Case{9, 0, 0, 0, 0, 0, 0, 1, 0x8A8A8A, "light 9 is light 1"},
                   Case{0, 0, 0, 30, 0, 0, 0, 100, 0x8A8A8A, "point light in front"},
                   Case{0, 0, 0, -30, 0, 0, 0, 100, 0x0A0A0A, "point light behind"},
                   Case{0, 0, 9, 9, 0, 0, -1, 180, 0x8A8A8A, "shining along -z"},
                   Case{0, 0, 0, 0, 0, 0, 1, 180, 0x0A0A0A, "shining along +z"},
                   Case{0, 0, 0, 30, 0, 0, -1, 45, 0x8A8A8A, "spot onto the quad"},
                   Case{0, 0, 0, 30, 0, 0, 1, 45, 0x0A0A0A, "spot away from the quad"},
                   Case{0, 0, 0, 30, 0, 0, -1, -10, 0x0A0A0A, "a negative cutoff: a spot of 0"},
                   Case{0, 0, 0, 3, 0, 0, 0, 0, 0xFFFFFF, "off: no lighting at all"}}) {
        BeginScene();
        LightSet(c.number, 0x808080, c.x, c.y, c.z, c.dx, c.dy, c.dz, c.cutoff);
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(BackBufferPixel(320, 240), c.centre, 2))
            << c.what << ": " << std::hex << BackBufferPixel(320, 240);
        LightSet(c.number, 0, 0, 0, 0, 0, 0, 0, 0);
    }

    // Switching one light off leaves the others lighting; the last one off ends the lighting.
    BeginScene();
    LightSet(1, 0x808080, 0, 0, 0, 0, 0, 0, 1);
    LightSet(2, 0x404040, 0, 0, 0, 0, 0, 0, 1);
    LightSet(2, 0, 0, 0, 0, 0, 0, 0, 0);
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(BackBufferPixel(320, 240), 0x8A8A8A, 2)) << std::hex << BackBufferPixel(320, 240);
    LightSet(1, 0, 0, 0, 0, 0, 0, 0, 0);
    BeginScene();
    MeshDraw(kQuad);
    EXPECT_EQ(BackBufferPixel(320, 240), 0xFFFFFFu);
}
