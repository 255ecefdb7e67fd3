// The renderer read back from the frame: vertex colours, fog, concave faces, culling, textures,
// stencil shadows, collections and a shader on their second unit, and the demo program's kept picture.
#include "platform/paths.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/sprite_store.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"
#include "tests/support/kept_picture.h"

#include <GL/gl.h>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <random>
#include <sstream>
#include <tuple>

namespace {

constexpr int32_t kQuad = 1;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGrey = 0xC8C8C8;

uint32_t Centre() { return BackBufferPixel(320, 240); }

// An 8 x 8 BMP of the colour; its path.
std::string PlainBmp(const std::string& name, uint32_t colour) {
    std::string bmp("BM\xF6\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x08\0\0\0\x08\0\0\0\x01\0\x18", 29);
    bmp.resize(54);
    for (int i = 0; i < 64; ++i) bmp += {char(colour >> 16), char(colour >> 8), char(colour)}; // blue, green, red
    return WriteTempFile(name, bmp);
}

} // namespace

// Linear fog from the near to the far plane, or over the range given; exponential fog; then none,
// and the vertex colours as they are.
TEST(Renderer, FogAndVertexColours) {
    using Case = std::tuple<int32_t, int32_t, double, double, uint32_t>; // fog, mode, start, end, centre
    for (auto [fog, mode, start, end, centre] :
         {Case{kBlue, 0, 0, 0, 0x983264}, Case{kBlue, 0, 5, 10, 0x3264C8}, Case{kBlue, 0, 0, 5, kBlue},
          Case{kBlue, 1, 0.1386, 0, 0x983264}, Case{-1, 0, 0, 0, 0x3264C8}}) {
        BeginScene();
        LoadQuad(kQuad, 0x3264C8, Square(1, 0));
        FogSet(fog, mode, start, end);
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(Centre(), centre, 3)) << fog << " " << start << " " << std::hex << Centre();
    }
}

// Random star-shaped faces of 5 to 16 corners, most of them concave, laid in each axis plane and turned
// to face the camera, cover exactly the pixels whose centres lie inside them by an even-odd crossing
// count, away from their edges.
TEST(Renderer, StarFacesCoverWhatLiesInsideThem) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        int n = 5 + static_cast<int>(random() % 12), axis = round % 3, wrong = 0;
        std::vector<float> x(n), y(n);
        std::ostringstream kyd;
        kyd << "KYDA 1.1\n1 0 0\n1\n255 0 0 " << n;
        for (int i = 0; i < n; ++i) kyd << " " << i << " 0";
        kyd << "\n1\n" << n << "\n";
        for (int i = 0; i < n; ++i) {
            float r = std::uniform_real_distribution<float>(0.3f, 2.2f)(random),
                  a = 2 * std::numbers::pi_v<float> * i / n;
            Corner corner{x[i] = r * std::cos(a), y[i] = r * std::sin(a), 0};
            std::swap(corner[2], corner[axis]);
            kyd << corner[0] << " " << corner[1] << " " << corner[2] << " 0 0 1\n";
        }
        BeginScene();
        ASSERT_EQ(MeshLoad(kQuad, WriteTempFile("star.kyd", kyd.str()).c_str()), 1);
        EXPECT_EQ(MeshSlot(kQuad, false)->triangles.size(), 3u * (n - 2)) << "no triangle but the face's own";
        ObjectTurn(axis == 1 ? -90 : 0, axis == 0 ? 90 : 0, 0);
        MeshDraw(kQuad);
        auto inside = [&](int px, int py) {
            float cx = (px + 0.5f - 320) / 48, cy = (239.5f - py) / 48;
            bool in = false;
            for (int i = 0, j = n - 1; i < n; j = i++)
                if ((y[i] > cy) != (y[j] > cy) && cx < x[i] + (cy - y[i]) * (x[j] - x[i]) / (y[j] - y[i])) in = !in;
            return in;
        };
        for (int py = 130; py < 350; py += 2)
            for (int px = 210; px < 430; px += 2) {
                bool in = inside(px, py), clear = true; // the same two pixels away on every side
                for (int d : {-2, 2}) clear = clear && inside(px + d, py) == in && inside(px, py + d) == in;
                wrong += clear && (BackBufferPixel(px, py) != 0) != in;
            }
        EXPECT_EQ(wrong, 0) << "star " << round << " of " << n << " corners";
    }
}

TEST(Renderer, CullModesTexturesAndCollections) {
    // Mode 2 keeps mode 1.
    for (auto [mode, clockwise, shown] : {std::tuple{-1, true, false}, {1, true, true}, {0, true, true},
                                          {1, false, false}, {2, true, true}, {-1, false, true}}) {
        BeginScene();
        LoadQuad(kQuad, kRed, Square(1, 0, clockwise));
        CullMode(mode);
        MeshDraw(kQuad);
        EXPECT_EQ(Centre(), shown ? kRed : 0u) << mode << clockwise;
    }

    // The mesh draws whatever its sprite holds now: nothing once freed, the new image once reloaded.
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    MeshTexture(kQuad, 0, -1);
    for (auto [file, colour] : {std::pair{"green.bmp", 0x00FF00u}, {"", 0xFFFFFFu}, {"blue.bmp", kBlue}}) {
        SpriteFree(0);
        EXPECT_TRUE(!*file || SpriteLoad(PlainBmp(file, colour).c_str(), 0));
        BeginScene();
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(Centre(), colour, 1)) << file << " " << std::hex << Centre();
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY)) << "left for the 2D draws";
    }
    SpriteFree(0);

    // A collection in a subfolder: objects 1 and 3 load, 2 is missing. The first has the last texture of
    // the list, blue, and a missing one; the third one out of range and the first, green, on the second unit.
    std::filesystem::create_directories(platform::TempDir() + "set/");
    PlainBmp("set/blue.bmp", kBlue);
    PlainBmp("set/green.bmp", 0x00FF00);
    WriteTempFile("set/q.kyd", QuadText(0xFFFFFF, Square(1, 0)));
    std::string ini = WriteTempFile("set/objects.ini", "[textures]\ncount=3\n1=green.bmp\n2=none.bmp\n3=blue.bmp\n"
                                                       "[objects]\ncount=3\n1=q.kyd\n1ta=3\n1tb=2\n2=gone.kyd\n"
                                                       "3=q.kyd\n3ta=5\n3tb=1\n");
    EXPECT_EQ(MeshLoadCollection(10, ini.c_str()), 2);
    for (auto [mesh, colour] : {std::pair{10, kBlue}, {12, 0x00FF00u}}) {
        BeginScene();
        EXPECT_EQ(MeshDraw(mesh), 1);
        EXPECT_TRUE(PixelNear(Centre(), colour, 1)) << mesh << " " << std::hex << Centre();
    }
    // A shader's second sampler reads the second unit.
    std::string second = WriteTempFile("second.frag", "uniform sampler2D TextureID2; void main() { "
                                                       "gl_FragColor = texture2D(TextureID2, vec2(0.5)); }");
    ASSERT_EQ(ShaderLoad(1, "none.vert", second.c_str()), 1);
    BeginScene();
    ShaderUse(1);
    MeshDraw(12);
    EXPECT_TRUE(PixelNear(Centre(), 0x00FF00u, 1)) << std::hex << Centre();
    ShaderUse(-1);
    MeshFree(10);
    EXPECT_EQ(MeshDraw(10) + MeshDraw(11), 0);
    EXPECT_EQ(MeshLoadCollection(INT32_MAX - 1, ini.c_str()), 0);
}

// Entered by ShadowMode(1) or by the shadow light -3, ended by ShadowMode(0): a volume over the whole
// view halves the floor to the viewport's corners. Switching the light off leaves the mode. (How the
// volumes of turned, closed meshes fall is in the demo's kept picture.)
TEST(Renderer, ShadowVolumesHalveWhatTheyCover) {
    constexpr int32_t kFloor = 2, kVolume = 3;
    LoadQuad(kFloor, kGrey, Square(100, 0));
    LoadQuad(kVolume, kRed, Square(100, 1));
    for (bool light : {false, true}) {
        BeginScene();
        MeshDraw(kFloor);
        light ? LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 1) : ShadowMode(1);
        EXPECT_EQ(MeshDrawShadow(kFloor), static_cast<int32_t>(light)); // edge-on to the light: no volume
        MeshDraw(kVolume);
        ShadowMode(0);
        for (auto [x, y] : {std::pair{320, 240}, {0, 0}, {639, 0}, {0, 479}, {639, 479}})
            EXPECT_TRUE(PixelNear(BackBufferPixel(x, y), 0x646464, 1)) << light << " " << x << " " << y;
    }

    // The shadow light alone casts nothing; the smallest cutoff that lights enters the mode.
    LightSet(-1, 0xFFFFFF, 5, 0, 10, 0, 0, 0, 1);
    EXPECT_EQ(MeshDrawShadow(kVolume), 0);
    LightSet(-3, 0xFFFFFF, 5, 0, 10, 0, 0, 0, -0.00001);
    EXPECT_EQ(MeshDrawShadow(kVolume), 1);
    ShadowMode(0);
}

// The demo's headless picture: a textured cube and sphere from a collection turned on a floor, lit by
// a head light and a coloured spot light, in fog, casting stencil shadows.
TEST(Renderer, TheDemoSavesItsKeptPicture) { ExpectKeptPicture({KYD_VIEW}, KEPT_PICTURE); }
