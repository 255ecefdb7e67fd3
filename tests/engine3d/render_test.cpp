// The renderer and the 3D frame, read back from the frame: vertex colours, lights, fog, culling,
// textures, frustum skipping, stencil shadows, collections, and the demo's screenshot.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/object_collection.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/image_writer.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kQuad = 1;
constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000, kGrey = 0xC8C8C8;

// Camera at z = 5 looking at the origin; near 1, far 9, so the origin is at mid depth.
void BeginScene() {
    StartEngine();
    Scene3DBegin(1, 9, 90);
    CameraSet(0, 0, 5, 0, 0, 0);
}

uint32_t Centre() { return BackBufferPixel(320, 240); }

// A solid BMP of the colour; its path.
std::string SolidBmp(const std::string& path, uint32_t colour) {
    std::vector<uint8_t> bgr(8 * 8 * 3);
    for (size_t i = 0; i < bgr.size(); i += 3) {
        bgr[i] = static_cast<uint8_t>(colour >> 16);
        bgr[i + 1] = static_cast<uint8_t>(colour >> 8);
        bgr[i + 2] = static_cast<uint8_t>(colour);
    }
    EXPECT_TRUE(ImageWrite(path, BgrPicture{bgr.data(), 8, 8, 8, 0}));
    return path;
}

} // namespace

TEST(Renderer, VertexColoursLightsAndFog) {
    BeginScene();
    LoadQuad(kQuad, 0x3264C8, Square(1, 0));
    EXPECT_EQ(MeshDraw(kQuad), 1);
    EXPECT_TRUE(PixelNear(Centre(), 0x3264C8, 1)) << std::hex << Centre();
    EXPECT_EQ(BackBufferPixel(10, 10), 0u);

    // A red head light on a white quad: diffuse red plus the default ambient 0.2 x 0.2.
    BeginScene();
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    LightSet(0, kRed, 0, 0, 0, 0, 0, 0, 1);
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(Centre(), 0x0A0AFF, 2)) << std::hex << Centre();
    BeginScene();
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0), {0, 0, -1});
    LightSet(0, kRed, 0, 0, 0, 0, 0, 0, 1);
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(Centre(), 0x0A0A0A, 2)) << std::hex << Centre();
    LightSet(0, 0, 0, 0, 0, 0, 0, 0, 0);

    // Linear fog from the near to the far plane: half and half at mid depth.
    BeginScene();
    LoadQuad(kQuad, kRed, Square(1, 0));
    FogSet(static_cast<int32_t>(kBlue), 0, 0, 0);
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(Centre(), 0x800080, 3)) << std::hex << Centre();
    FogSet(-1, 0, 0, 0);
}

TEST(Renderer, CullModesTexturesAndTheFrustum) {
    const std::pair<int32_t, bool> modes[] = {{1, true}, {-1, false}, {0, true}};
    for (auto [mode, shown] : modes) {
        BeginScene();
        LoadQuad(kQuad, kRed, Square(1, 0, true));
        CullMode(mode);
        MeshDraw(kQuad);
        EXPECT_EQ(Centre(), shown ? kRed : 0u) << mode;
    }

    BeginScene();
    ASSERT_TRUE(SpriteLoad(SolidBmp(platform::TempDir() + "green.bmp", 0x00FF00).c_str(), 300));
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    MeshTexture(kQuad, 300, -1);
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(Centre(), 0x00FF00, 1)) << std::hex << Centre();

    // Behind the camera, or far to the side: skipped and not counted.
    BeginScene();
    int32_t drawnBefore = MeshesDrawn();
    ObjectMove(0, 0, 20);
    EXPECT_EQ(MeshDraw(kQuad), 0);
    ObjectReset();
    ObjectPush();
    ObjectMove(50, 0, 0);
    EXPECT_EQ(MeshDraw(kQuad), 0);
    ObjectPop();
    EXPECT_EQ(MeshDraw(kQuad), 1);
    EXPECT_EQ(MeshesDrawn() - drawnBefore, 1);
    EXPECT_EQ(MeshDraw(-1) + MeshDraw(70000), 0);
}

TEST(Renderer, ShadowVolumesHalveWhatTheyCover) {
    constexpr int32_t kFloor = 2, kVolume = 3;
    BeginScene();
    LoadQuad(kFloor, kGrey, Square(100, 0));
    LoadQuad(kVolume, kRed, Square(1, 1));
    MeshDraw(kFloor);
    ShadowMode(1);
    MeshDraw(kVolume);
    ShadowMode(0);
    EXPECT_TRUE(PixelNear(Centre(), 0x646464, 1)) << std::hex << Centre();
    EXPECT_EQ(BackBufferPixel(320 + 70, 240), kGrey);
    EXPECT_EQ(BackBufferPixel(5, 5), kGrey);
    ShadowMode(0);
    EXPECT_TRUE(PixelNear(Centre(), 0x646464, 1));

    // The shadow light with number -3 enters and leaves the mode; ShowScreen ends a pending pass.
    LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 1);
    EXPECT_EQ(Engine3D().stencilMode, 1);
    EXPECT_TRUE(Engine3D().shadowLightOn);
    LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 0);
    EXPECT_EQ(Engine3D().stencilMode, 0);
    ShadowMode(1);
    MeshDraw(kVolume);
    ShowScreen();
    EXPECT_EQ(Engine3D().stencilMode, 0);
    GLboolean writes[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, writes);
    EXPECT_TRUE(writes[0] && writes[1] && writes[2]);
    GLint stencil = -1;
    glReadPixels(320, 240, 1, 1, GL_STENCIL_INDEX, GL_INT, &stencil);
    EXPECT_EQ(stencil, 0);
}

// A quad between the floor and a shadow light off to the side casts its volume's shadow beside it.
TEST(Renderer, MeshShadowVolumesDarkenWhatTheyHide) {
    constexpr int32_t kFloor = 2, kOccluder = 4;
    BeginScene();
    LoadQuad(kFloor, kGrey, Square(100, 0));
    LoadQuad(kOccluder, kRed, Square(0.5f, 2));
    MeshDraw(kFloor);
    MeshDraw(kOccluder);
    EXPECT_EQ(MeshDrawShadow(kOccluder), 0); // not in the shadow mode
    LightSet(-3, 0xFFFFFF, 5, 0, 10, 0, 0, 0, 1);
    EXPECT_EQ(MeshDrawShadow(kOccluder), 1);
    ShadowMode(0);
    // The shadow spans x -1.875..-0.625 on the floor: pixels 230..290, behind the quad from 280.
    EXPECT_TRUE(PixelNear(BackBufferPixel(250, 240), 0x646464, 1)) << std::hex << BackBufferPixel(250, 240);
    EXPECT_EQ(BackBufferPixel(200, 240), kGrey);
    EXPECT_EQ(BackBufferPixel(400, 240), kGrey);
    EXPECT_EQ(BackBufferPixel(250, 300), kGrey);
}

// A window larger than 3000 x 2000 is darkened to its bottom-right corner. The window is made that
// size from the start, in a child process of its own.
TEST(Renderer, ShadowsReachTheCornerOfALargeWindow) {
    EXPECT_EXIT(
        {
            Settings().screenWidth = 3200;
            Settings().screenHeight = 2100;
            StartEngine();
            Scene3DBegin(1, 9, 90);
            CameraSet(0, 0, 5, 0, 0, 0);
            LoadQuad(2, kGrey, Square(100, 0));
            LoadQuad(3, kRed, Square(100, 1));
            MeshDraw(2);
            ShadowMode(1);
            MeshDraw(3);
            ShadowMode(0);
            std::_Exit(PixelNear(BackBufferPixel(3195, 2095), 0x646464, 1) &&
                               PixelNear(BackBufferPixel(1600, 1050), 0x646464, 1)
                           ? 0
                           : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(Renderer, CollectionInASubfolderLoadsTexturesAndObjects) {
    StartEngine();
    std::string folder = platform::TempDir() + "set/";
    std::filesystem::create_directories(folder);
    SolidBmp(folder + "blue.bmp", kBlue);
    WriteTempFile("set/quad.kyd", QuadText(0xFFFFFF, Square(1, 0)));
    WriteTempFile("set/objects.ini", "[textures]\ncount=2\n1=blue.bmp\n2=none.bmp\n[objects]\ncount=3\n"
                                     "1=quad.kyd\n1ta=1\n1tb=2\n2=quad.kyd\n2ta=5\n3=gone.kyd\n");
    ObjectCollection collection;
    ASSERT_TRUE(ObjectCollectionLoad(collection, (folder + "objects.ini").c_str(), -1));
    ASSERT_EQ(collection.textures.size(), 2u);
    EXPECT_NE(collection.textures[0]->texture, 0u);
    EXPECT_EQ(collection.textures[1]->texture, 0u);
    ASSERT_EQ(collection.objects.size(), 3u);
    EXPECT_TRUE(collection.objects[0].loaded && collection.objects[1].loaded);
    EXPECT_FALSE(collection.objects[2].loaded);
    EXPECT_EQ(collection.textureA, (std::vector<int32_t>{0, -1, -1}));
    EXPECT_EQ(collection.textureB, (std::vector<int32_t>{1, -1, -1}));

    EXPECT_EQ(MeshLoadCollection(10, (folder + "objects.ini").c_str()), 2);
    BeginScene();
    MeshDraw(10);
    EXPECT_TRUE(PixelNear(Centre(), kBlue, 1)) << std::hex << Centre();
}

TEST(Demo, HeadlessScreenshotShowsTheLitObject) {
    FILE* out = popen(KYD_VIEW_PATH, "r");
    ASSERT_NE(out, nullptr);
    char line[1024] = {};
    bool read = std::fgets(line, sizeof line, out) != nullptr;
    EXPECT_EQ(pclose(out), 0);
    ASSERT_TRUE(read);
    std::string path(line);
    path.erase(path.find_last_not_of("\r\n") + 1);
    ImageRGBA image;
    ASSERT_TRUE(DecodeImageFile(image, path, -1)) << path;
    const uint8_t* centre = &image.pixels[(static_cast<size_t>(image.height / 2) * image.width + image.width / 2) * 4];
    EXPECT_GT(centre[0] + centre[1] + centre[2], 60);
}
