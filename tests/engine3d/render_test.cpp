// The renderer read back from the frame: vertex colours, fog, concave faces, culling, textures,
// stencil shadows, and collections.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/sprite_store.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr int32_t kQuad = 1;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGrey = 0xC8C8C8;

uint32_t Centre() { return BackBufferPixel(320, 240); }

// An 8 x 8 BMP of the colour; its path.
std::string SolidBmp(const std::string& name, uint32_t colour) {
    std::string bmp("BM\xF6\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x08\0\0\0\x08\0\0\0\x01\0\x18", 29);
    bmp.resize(54);
    for (int i = 0; i < 64; ++i) bmp += {char(colour >> 16), char(colour >> 8), char(colour)};
    return WriteTempFile(name, bmp);
}

} // namespace

// Linear fog from the near to the far plane, or over the range given; exponential fog; then none,
// and the vertex colours as they are.
TEST(Renderer, FogVertexColoursAndConcaveFaces) {
    struct Case {
        int32_t mode;
        double start, end;
        uint32_t centre;
    };
    for (Case c : {Case{0, 0, 0, 0x800080}, Case{0, 5, 10, 0x0000FF}, Case{0, 0, 5, 0xFF0000},
                   Case{1, 0.1386, 0, 0x800080}}) {
        BeginScene();
        LoadQuad(kQuad, kRed, Square(1, 0));
        FogSet(static_cast<int32_t>(kBlue), c.mode, c.start, c.end);
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(Centre(), c.centre, 3)) << c.mode << " " << c.start << " " << std::hex << Centre();
    }
    FogSet(-1, 0, 0, 0);
    BeginScene();
    LoadQuad(kQuad, 0x3264C8, Square(1, 0));
    EXPECT_EQ(MeshDraw(kQuad), 1);
    EXPECT_TRUE(PixelNear(Centre(), 0x3264C8, 1)) << std::hex << Centre();
    EXPECT_EQ(BackBufferPixel(10, 10), 0u);

    // A dart whose corners start beside its notch: fanned from the first corner, the notch would fill.
    BeginScene();
    LoadQuad(kQuad, kRed, {{{-1, -1, 0}, {0, 0, 0}, {1, -1, 0}, {0, 1, 0}}});
    MeshDraw(kQuad);
    EXPECT_EQ(BackBufferPixel(320, 240 - 24), kRed);      // (0, 0.5): the dart's body
    EXPECT_EQ(BackBufferPixel(320, 240 + 24), 0u);        // (0, -0.5): the notch
    EXPECT_EQ(BackBufferPixel(320 - 38, 240 + 34), kRed); // (-0.8, -0.7): a leg
}

TEST(Renderer, CullModesAndTextures) {
    for (auto [mode, shown] : {std::pair{-1, false}, {1, true}, {0, true}}) {
        BeginScene();
        LoadQuad(kQuad, kRed, Square(1, 0, true));
        CullMode(mode);
        MeshDraw(kQuad);
        EXPECT_EQ(Centre(), shown ? kRed : 0u) << mode;
    }

    // The mesh draws whatever its sprite holds now: nothing once freed, the new image once reloaded.
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    MeshTexture(kQuad, 0, -1);
    for (auto [file, colour] : {std::pair{"green.bmp", 0x00FF00u}, {"", 0xFFFFFFu}, {"blue.bmp", kBlue}}) {
        SpriteFree(0);
        EXPECT_TRUE(!*file || SpriteLoad(SolidBmp(file, colour).c_str(), 0));
        BeginScene();
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(Centre(), colour, 1)) << file << " " << std::hex << Centre();
    }
    SpriteFree(0);
}

// Entered by ShadowMode(1) or by the shadow light -3, ended by ShadowMode(0): a volume over the whole
// view halves the floor to the viewport's corners. Switching the light off leaves the mode.
TEST(Renderer, ShadowVolumesHalveWhatTheyCover) {
    constexpr int32_t kFloor = 2, kVolume = 3, kOccluder = 4;
    LoadQuad(kFloor, kGrey, Square(100, 0));
    LoadQuad(kVolume, kRed, Square(100, 1));
    for (bool light : {false, true}) {
        BeginScene();
        MeshDraw(kFloor);
        light ? LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 1) : ShadowMode(1);
        MeshDraw(kVolume);
        ShadowMode(0);
        for (auto [x, y] : {std::pair{320, 240}, {0, 0}, {639, 0}, {0, 479}, {639, 479}})
            EXPECT_TRUE(PixelNear(BackBufferPixel(x, y), 0x646464, 1)) << light << " " << x << " " << y;
    }
    BeginScene();
    LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 1);
    LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 0);
    MeshDraw(kVolume);
    EXPECT_EQ(Centre(), kRed);

    // A quad between the floor and a shadow light off to the side casts its volume's shadow beside it.
    BeginScene();
    LoadQuad(kOccluder, kRed, Square(0.5f, 2));
    MeshDraw(kFloor);
    MeshDraw(kOccluder);
    EXPECT_EQ(MeshDrawShadow(kOccluder), 0); // not in the shadow mode
    LightSet(-3, 0xFFFFFF, 5, 0, 10, 0, 0, 0, 1);
    EXPECT_EQ(MeshDrawShadow(kOccluder), 1);
    ShadowMode(0);
    // The shadow spans x -1.875..-0.625 on the floor: pixels 230..290, behind the quad from 280.
    for (auto [x, y, colour] :
         {std::tuple{250, 240, 0x646464u}, {200, 240, kGrey}, {400, 240, kGrey}, {250, 300, kGrey}})
        EXPECT_TRUE(PixelNear(BackBufferPixel(x, y), colour, 1)) << x << " " << y;
}

// Objects 1 and 3 load, 2 is missing; the first has the blue texture, the last of the list, and the
// third one out of range.
TEST(Renderer, CollectionInASubfolderLoadsTexturesAndObjects) {
    StartEngine();
    std::filesystem::create_directories(platform::TempDir() + "set/");
    SolidBmp("set/blue.bmp", kBlue);
    WriteTempFile("set/q.kyd", QuadText(0xFFFFFF, Square(1, 0)));
    std::string ini = WriteTempFile("set/objects.ini", "[textures]\ncount=2\n1=none.bmp\n2=blue.bmp\n[objects]\n"
                                                       "count=3\n1=q.kyd\n1ta=2\n1tb=1\n2=gone.kyd\n3=q.kyd\n3ta=5\n");
    EXPECT_EQ(MeshLoadCollection(10, ini.c_str()), 2);
    for (auto [mesh, colour] : {std::pair{10, kBlue}, {12, 0xFFFFFFu}}) {
        BeginScene();
        EXPECT_EQ(MeshDraw(mesh), 1);
        EXPECT_TRUE(PixelNear(Centre(), colour, 1)) << mesh << " " << std::hex << Centre();
    }
    EXPECT_EQ(MeshDraw(11), 0);
    MeshFree(10);
    EXPECT_EQ(MeshDraw(10), 0);
    EXPECT_EQ(MeshLoadCollection(INT32_MAX - 1, ini.c_str()), 0);
}
