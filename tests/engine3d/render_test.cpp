// The renderer and the 3D frame, read back from the frame: vertex colours, lights, fog, culling,
// textures, frustum skipping, stencil shadows, collections, and the demo's screenshot and failure.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/object_collection.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_file.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/sprite_store.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

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

// GL textures that exist now, among the first names handed out.
int32_t LiveTextures() {
    int32_t live = 0;
    for (GLuint name = 1; name < 4096; ++name) live += glIsTexture(name) ? 1 : 0;
    return live;
}

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

    // A head light on a quad facing away from it: the default ambient 0.2 x 0.2 only.
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

// A white quad facing the camera under a grey head light reads 0x80 diffuse plus 0x0A ambient,
// however it is scaled or turned about the view axis, and whether or not its file gave normals.
TEST(Renderer, LightingHoldsUnderTransformsAndForObjectsWithoutNormals) {
    const std::pair<double, double> transforms[] = {{1, 0}, {0.5, 0}, {2, 0}, {2, 45}, {0.5, 90}};
    LoadQuad(kQuad, 0xFFFFFF, Square(1, 0));
    for (auto [scale, turn] : transforms) {
        BeginScene();
        LightSet(0, 0x808080, 0, 0, 0, 0, 0, 0, 1);
        ObjectScale(scale, scale, scale);
        ObjectTurn(0, 0, turn);
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(Centre(), 0x8A8A8A, 2)) << scale << " " << turn << " " << std::hex << Centre();
    }

    std::string text = WriteTempFile("bare.kyd", "KYDA 1.0 0 1 255 255 255 4 0 0 1 0 2 0 3 0 1 4 "
                                                 "-1 -1 0 1 -1 0 1 1 0 -1 1 0");
    std::string packed = platform::TempDir() + "bare_compact.kyd";
    KydModel model;
    ASSERT_TRUE(ModelLoad(model, text.c_str(), true));
    ASSERT_TRUE(ModelSave(model, packed.c_str()));
    for (const std::string& file : {text, packed}) {
        BeginScene();
        ASSERT_EQ(MeshLoad(kQuad, file.c_str()), 1);
        LightSet(0, 0x808080, 0, 0, 0, 0, 0, 0, 1);
        MeshDraw(kQuad);
        EXPECT_TRUE(PixelNear(Centre(), 0x8A8A8A, 2)) << file << " " << std::hex << Centre();
    }
    LightSet(0, 0, 0, 0, 0, 0, 0, 0, 0);
}

// A dart whose corners start beside its notch: fanned from the first corner, the notch would fill.
TEST(Renderer, ConcaveFacesKeepTheirNotch) {
    BeginScene();
    LoadQuad(kQuad, kRed, {{{-1, -1, 0}, {0, 0, 0}, {1, -1, 0}, {0, 1, 0}}});
    MeshDraw(kQuad);
    EXPECT_EQ(BackBufferPixel(320, 240 - 24), kRed);      // (0, 0.5): the dart's body
    EXPECT_EQ(BackBufferPixel(320, 240 + 24), 0u);        // (0, -0.5): the notch
    EXPECT_EQ(BackBufferPixel(320 - 38, 240 + 34), kRed); // (-0.8, -0.7): a leg
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
    // The mesh draws whatever its sprite holds now: nothing once freed, the new image once reloaded.
    SpriteFree(300);
    BeginScene();
    MeshDraw(kQuad);
    EXPECT_EQ(Centre(), 0xFFFFFFu) << std::hex << Centre();
    ASSERT_TRUE(SpriteLoad(SolidBmp(platform::TempDir() + "blue.bmp", kBlue).c_str(), 300));
    BeginScene();
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(Centre(), kBlue, 1)) << std::hex << Centre();
    SpriteFree(300);

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

// Where the far plane cuts a volume, the empty background behind it stays as it was; a camera
// inside a volume sees the floor under the roof shadowed and the floor beyond it lit.
TEST(Renderer, MeshShadowVolumesSurviveTheFarPlaneAndACameraInside) {
    constexpr int32_t kFloor = 2, kOccluder = 4;
    BeginScene();
    glClearColor(200 / 255.0f, 200 / 255.0f, 200 / 255.0f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 0, 0, 1);
    LoadQuad(kOccluder, kRed, Square(0.5f, 0));
    MeshDraw(kOccluder);
    LightSet(-3, 0xFFFFFF, 5, 0, 10, 0, 0, 0, 1);
    MeshDrawShadow(kOccluder);
    ShadowMode(0);
    EXPECT_EQ(BackBufferPixel(270, 240), 0xC8C8C8u) << std::hex << BackBufferPixel(270, 240);
    EXPECT_EQ(Centre(), kRed);

    // Floor and roof are squares laid flat, facing up; the light is above the roof.
    auto flat = [](float y) {
        ObjectReset();
        ObjectMove(0, y, 0);
        ObjectTurn(-90, 0, 0);
    };
    LoadQuad(kFloor, kGrey, Square(100, 0));
    LoadQuad(kOccluder, kRed, Square(3, 0));
    StartEngine();
    Scene3DBegin(0.1, 50, 90);
    CameraSet(0, 1, 0, 0, 0, -8);
    flat(0);
    MeshDraw(kFloor);
    flat(2);
    MeshDraw(kOccluder);
    LightSet(-3, 0xFFFFFF, 0, 10, 0, 0, 0, 0, 1);
    MeshDrawShadow(kOccluder);
    ShadowMode(0);
    EXPECT_EQ(Centre(), kGrey) << std::hex << Centre(); // the floor at z = -8
    EXPECT_TRUE(PixelNear(BackBufferPixel(320, 470), 0x646464, 1)) << std::hex << BackBufferPixel(320, 470);
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

    ObjectCollectionFree(collection);
    EXPECT_TRUE(collection.textures.empty() && collection.objects.empty());

    // Reloads free the textures they replace; a mesh keeps its texture until it is freed.
    int32_t live = LiveTextures();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(MeshLoadCollection(10, (folder + "objects.ini").c_str()), 2);
    EXPECT_EQ(LiveTextures(), live + 2); // the blue image and its mip-mapped copy
    BeginScene();
    MeshDraw(10);
    EXPECT_TRUE(PixelNear(Centre(), kBlue, 1)) << std::hex << Centre();
    MeshFree(10);
    EXPECT_EQ(LiveTextures(), live);
    EXPECT_EQ(MeshDraw(10), 0);
    EXPECT_EQ(MeshLoadCollection(INT32_MAX - 1, (folder + "objects.ini").c_str()), 0);
}

// The default scene, a textured collection on a floor, read back from the demo's screenshot: the far
// floor in the fog's colour, the sphere's shadow edge on the floor, the checker texture on the sphere.
TEST(Demo, HeadlessScreenshotShowsFogShadowAndTexture) {
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
    auto pixel = [&](int x, int y) {
        const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
        return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
    };
    auto brightness = [&](int x, int y) {
        uint32_t p = pixel(x, y);
        return static_cast<int>((p & 255) + (p >> 8 & 255) + (p >> 16 & 255));
    };
    EXPECT_TRUE(PixelNear(pixel(320, 125), 0x5A4030, 12)) << std::hex << pixel(320, 125);
    bool shadowEdge = false;
    for (int x = 420; x < 540; x += 2) shadowEdge |= brightness(x, 255) * 10 < brightness(x + 8, 255) * 7;
    EXPECT_TRUE(shadowEdge);
    int texture = 0;
    for (int y = 205; y < 235; ++y)
        for (int x = 370; x < 400; ++x) texture = std::max(texture, std::abs(brightness(x, y) - brightness(x + 1, y)));
    EXPECT_GT(texture, 60);
}

TEST(Demo, FailsWithAMessageWhenItCannotLoad) {
    std::string command = std::string(KYD_VIEW_PATH) + " " + platform::TempDir() + "no_such_object.kyd 2>&1";
    FILE* out = popen(command.c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string text;
    char line[1024];
    while (std::fgets(line, sizeof line, out)) text += line;
    int status = pclose(out);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
    EXPECT_NE(text.find("kyd_view: cannot load"), std::string::npos) << text;
}
