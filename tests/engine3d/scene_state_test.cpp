// The 3D view read back as pixels: projections, the camera, the frustum's skipping by bounds, and each
// kind of light on a white quad facing the camera, scaled, turned, and without normals in its file.
#include "runtime/engine3d/engine3d.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr int32_t kQuad = 30, kBare = 31;

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
    using Case = std::tuple<double, double, float, int>; // near plane, fov, half the side, half the width in pixels
    for (auto [nearPlane, fov, half, halfWidth] :
         {Case{1, 60, 1, 83}, Case{0.5, 30, 0.5, 90}, Case{2, -60, 50, 104}, Case{1, -90, 50, 120}}) {
        BeginScene(nearPlane, 9, fov);
        LoadQuad(kQuad, 0xFFFFFF, Square(half, 0));
        MeshDraw(kQuad);
        EXPECT_NEAR(LitSpan(240).first, 320 - halfWidth, 1.5) << fov;
    }

    // With the camera's up along world x, world +y lies on the screen's left from the next CameraSet on
    // (here 2 units along x, seeing the origin below the centre); a frame starts upright, looking from
    // the origin down -z.
    LoadQuad(kQuad, 0xFFFFFF, Square(0.5f, 0));
    for (bool turned : {true, false}) {
        StartEngine();
        Scene3DBegin(1, 9, 90);
        CameraUp(1, 0, 0);
        if (turned) CameraSet(2, 0, 5, 2, 0, 0);
        ObjectMove(0, 2, turned ? 0 : -5);
        MeshDraw(kQuad);
        EXPECT_EQ(BackBufferPixel(320 - 96, 240 + 96) != 0, turned);
        EXPECT_EQ(BackBufferPixel(320, 240 - 96) != 0, !turned);
    }
    // Seen from the side or from above, a frame's own up keeps world +y straight up (2 units above the
    // origin, about 7.07 and 5.66 away: 68 and 60 pixels above the centre, nearer than the far plane).
    for (auto [y, above] : {std::pair(0, 68), {5, 60}}) {
        BeginScene(1, 7.5);
        CameraSet(5 - y, y, 5, 0, 0, 0);
        ObjectMove(0, 2, 0);
        MeshDraw(kQuad);
        EXPECT_NE(BackBufferPixel(320, 240 - above), 0u) << y;
    }
}

// Whether a mesh is drawn goes by its bounding sphere (about (0.4, 0, 0), radius 1.118, for the 2 x 1
// rectangle placed at the origin), scaled with the object (along y alone in one case): a rectangle whose
// sphere reaches into the view is drawn, even in part; one wholly outside or behind the camera is skipped.
TEST(Scene3D, TheFrustumSkipsOnlyMeshesWhollyOutside) {
    // The place, the scale along x and y, MeshDraw's answer, and a pixel the quad shows on (or -1).
    using Case = std::tuple<float, float, float, float, float, int32_t, int, int>;
    LoadQuad(kQuad, 0xFFFFFF, {{{-0.6f, -0.5f, 0}, {1.4f, -0.5f, 0}, {1.4f, 0.5f, 0}, {-0.6f, 0.5f, 0}}});
    for (auto [x, y, z, scaleX, scaleY, drawn, litX, litY] :
         {Case{0, 0, 0, 1, 1, 1, 320, 240}, {0, 0, 20, 1, 1, 0, -1, 0}, {50, 0, 0, 1, 1, 0, -1, 0},
          {8.05f, 0, 0, 1, 1, 1, -1, 0}, {8.25f, 0, 0, 1, 1, 0, -1, 0}, {8.3f, 0, 0, 3, 3, 1, 635, 240},
          {0, 0, -4.5f, 1, 1, 1, -1, 0}, {0, 0, -6, 1, 1, 0, -1, 0}, {0, 7, 0, 1, 5, 1, 320, 0},
          {-9.5f, 0, 0, 1, 1, 0, -1, 0}, {0, 8, 0, 1, 1, 0, -1, 0}, {0, -8, 0, 1, 1, 0, -1, 0}}) {
        BeginScene();
        ObjectMove(x, y, z);
        ObjectScale(scaleX, scaleY, 1);
        EXPECT_EQ(MeshDraw(kQuad), drawn) << x << " " << y << " " << z;
        EXPECT_TRUE(litX < 0 || BackBufferPixel(litX, litY) == 0xFFFFFF) << x;
    }
    EXPECT_EQ(MeshDraw(-1) + MeshDraw(70000) + MeshDraw(kQuad + 10), 0);
}

// The white quad at the origin faces the camera at z = 5: the ambient 0.2 x 0.2 gives 0x0A, a light
// of 0x80 that reaches it head-on adds 0x80, however the quad is scaled or turned about the view axis.
// Two triangles without normals in their file, tilted 45 degrees about y, get 0x80 cos 45 = 0x5A from
// the head light. Lights are in world coordinates, and far enough away to reach every corner head-on.
TEST(Lights, EachKindLightsWhatItReaches) {
    // The light, the mesh, the light's y and z and its direction along z, the cutoff, the quad's scale and
    // turn, its centre, the case.
    using Case = std::tuple<int32_t, int32_t, float, float, float, double, double, double, uint32_t, const char*>;
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    std::string bare = WriteTempFile("bare.kyd", "KYDA 1.0 0 2 255 255 255 3 0 0 1 0 2 0 255 255 255 3 0 0 2 0 3 0 "
                                                 "1 4 -1 -1 -1 1 -1 1 1 1 1 -1 1 -1");
    ASSERT_EQ(MeshLoad(kBare, bare.c_str()) + MeshLoad(65536, bare.c_str()), 1);
    for (auto [number, mesh, y, z, dz, cutoff, scale, turn, centre, what] :
         {Case{0, kQuad, 0, 0, 0, 1, 2, 45, 0x8A8A8A, "head light, scaled by 2 and turned"},
          Case{0, kBare, 0, 0, 0, 1, 1, 0, 0x656565, "head light, triangles without normals"},
          Case{9, kQuad, 0, 0, 0, 1, 1, 0, 0x8A8A8A, "light 9 is light 1"},
          Case{0, kQuad, 0, 30, 0, 100, 1, 0, 0x8A8A8A, "point light in front"},
          Case{0, kQuad, 0, -30, 0, 100, 1, 0, 0x0A0A0A, "point light behind"},
          Case{0, kQuad, 9, 9, -1, 180, 1, 0, 0x8A8A8A, "shining along -z"},
          Case{0, kQuad, 0, 0, 1, 180, 1, 0, 0x0A0A0A, "shining along +z"},
          Case{0, kQuad, 0, 30, 1, 90, 1, 0, 0x0A0A0A, "a spot of 90 away from the quad"},
          Case{0, kQuad, 0, 3, 0, 0, 1, 0, 0xFFFFFF, "off: no lighting at all"},
          Case{0, kQuad, 0, 30, -1, -10, 1, 0, 0x0A0A0A, "a negative cutoff: a spot of 0"}}) {
        BeginScene();
        LightSet(number, 0x808080, 0, y, z, 0, 0, dz, cutoff);
        ObjectScale(scale, scale, scale);
        ObjectTurn(0, 0, turn);
        MeshDraw(mesh);
        EXPECT_TRUE(PixelNear(BackBufferPixel(320, 240), centre, 2))
            << what << ": " << std::hex << BackBufferPixel(320, 240);
        LightSet(number, 0, 0, 0, 0, 0, 0, 0, 0);
    }
    // The last light switched off in the frame ends the lighting: nearer, the quad is white again.
    ObjectMove(0, 0, 1);
    MeshDraw(kQuad);
    EXPECT_EQ(BackBufferPixel(320, 240), 0xFFFFFFu);
}
