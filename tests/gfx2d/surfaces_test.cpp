// Off-screen screens on both paths, grabs on both paths, the key probe, backgrounds, and saving.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/surfaces.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <utility>

namespace {

class SurfaceTest : public testing::Test {
  protected:
    void SetUp() override {
        StartDrawing();
        saved_ = GlExt();
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        ScreenUse(-1);
        GlExt() = saved_;
        BackgroundFree(0);
    }

  private:
    GlExtensions saved_;
};

std::string Temp(const char* name) { return platform::TempDir() + name; }

} // namespace

TEST_F(SurfaceTest, GrabsKeepSizeAndMakeTheKeyTransparentOnBothPaths) {
    // The back buffer here has no alpha bits; a screen's framebuffer object has, so the copy path is
    // taken inside one (which also checks that grabs count rows from the screen's own bottom). The
    // grab on the back buffer comes second: it must not take the path of the grab before.
    bool objects = GlExt().glGenFramebuffersEXT != nullptr;
    for (int32_t alpha : {1, 0}) {
        if (alpha == 1 && !objects) continue;
        SCOPED_TRACE(alpha ? "copy with framebuffer alpha" : "read back and compare with the probed key");
        glClear(GL_COLOR_BUFFER_BIT);
        if (alpha) {
            ScreenCreate(2, 210, 64, 48);
            ScreenUse(2);
        }
        DrawFilledRect(0, 0, 10, 10, kRed);
        DrawFilledRect(2, 2, 4, 4, kKey);
        ASSERT_TRUE(SpriteGrab(200, 0, 0, 10, 10));
        ScreenUse(-1);
        const SpriteSlot& slot = *SlotOf(200);
        EXPECT_EQ(std::pair(slot.texWidth, slot.texHeight), std::pair(int16_t{32}, int16_t{32}));
        EXPECT_EQ(std::pair(slot.width, slot.height), std::pair(int16_t{10}, int16_t{10}));

        DrawFilledRect(100, 100, 20, 20, kGrey);
        SpriteDraw(200, 100, 100);
        EXPECT_EQ(BackBufferPixel(109, 100), kRed);
        EXPECT_EQ(BackBufferPixel(103, 103), kGrey) << "the key-coloured area is transparent";
        EXPECT_EQ(BackBufferPixel(110, 110), kGrey);
    }
    EXPECT_FALSE(SpriteGrab(200, 0, 0, 0, 10));
    EXPECT_FALSE(SpriteGrab(70000, 0, 0, 10, 10));
    EXPECT_FALSE(SpriteGrab(-1, 0, 0, 10, 10));
    EXPECT_FALSE(SpriteGrab(200, 0, 0, 40000, 10)) << "a texture side past the slot's 16 bits";
    EXPECT_EQ(SlotOf(200)->width, 10);
}

TEST_F(SurfaceTest, KeyProbeFindsTheStoredKeyAndLeavesThePixel) {
    DrawFilledRect(0, 0, 10, 10, kGreen);
    EXPECT_EQ(KeyColourProbe(), 0xFF008000u);
    // Blending would swallow the key's alpha-0 pixel; the probe still finds the key.
    SetBlendMode(-0.5);
    EXPECT_EQ(KeyColourProbe(), 0xFF008000u);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    SetBlendMode(0);
    EXPECT_EQ(BackBufferPixel(4, 4), kGreen) << "the probed pixel is put back";
    // In a viewport the probe works on the viewport's own pixel (4, 4).
    SetViewport(50, 60, 100, 100);
    EXPECT_EQ(KeyColourProbe(), 0xFF008000u);
    SetViewport(0, 0, 0, 0);
    EXPECT_EQ(BackBufferPixel(54, 64), kBlue);
    for (int32_t key : {0, -1}) {
        SetColourKey(key);
        EXPECT_EQ(KeyColourProbe(), 0u) << key;
    }
    SetColourKey(kKey);
}

TEST_F(SurfaceTest, ScreenUseWithoutScreenOnlyResetsTheViewport) {
    SetViewport(10, 10, 50, 50);
    ScreenUse(-1);
    EXPECT_EQ(Device().viewportWidth, Device().width);
    EXPECT_EQ(Device().viewportHeight, Device().height);
    EXPECT_EQ(Surfaces().activeScreen, -1);
    // Presenting a frame does the same.
    SetViewport(10, 10, 50, 50);
    PresentFrame(Device());
    EXPECT_EQ(Device().viewportWidth, Device().width);
    ScreenUse(32);
    ScreenUse(5); // never created: drawing stays on the back buffer
    EXPECT_EQ(Surfaces().activeScreen, -1);
    ScreenCreate(-1, 300, 10, 10);
    ScreenCreate(32, 300, 10, 10);
    EXPECT_EQ(SlotOf(300)->width, 0);
}

// The same story on both paths: draw into a screen, let ShowScreen finish it, use the sprite.
TEST_F(SurfaceTest, ScreensOnBothPathsAreFinishedByShowScreen) {
    for (bool objects : {true, false}) {
        SCOPED_TRACE(objects ? "framebuffer objects" : "emulated in the back buffer");
        if (objects && !GlExt().glGenFramebuffersEXT) continue; // the driver has none
        if (!objects) {
            GlExtensions& e = GlExt();
            e.glGenFramebuffersEXT = nullptr;
            e.glBindFramebufferEXT = nullptr;
            e.glCheckFramebufferStatusEXT = nullptr;
            e.glFramebufferTexture2DEXT = nullptr;
            e.glGenRenderbuffersEXT = nullptr;
        }
        int32_t screen = objects ? 1 : 3; // the grab test used 2
        ScreenCreate(screen, 301, 40, 20);
        const SpriteSlot& slot = *SlotOf(301);
        EXPECT_EQ(std::pair(slot.texWidth, slot.texHeight), std::pair(int16_t{64}, int16_t{32}));
        EXPECT_EQ(Surfaces().screens[screen].width != 0, objects);

        DrawFilledRect(0, 0, 60, 60, kGreen); // what the back buffer showed before
        ScreenUse(screen);
        EXPECT_EQ(Device().viewportWidth, 40);
        DrawFilledRect(0, 0, 10, 5, kRed);
        DrawFilledRect(30, 15, 10, 5, kGrey);
        EXPECT_EQ(ReadPixel(35, 17), static_cast<double>(kGrey));

        ScreenUse(-1);
        EXPECT_EQ(BackBufferPixel(5, 2), kGreen) << "the back buffer's own content is back";
        EXPECT_EQ(BackBufferPixel(35, 17), kGreen);
        ScreenUse(screen); // continues on the screen's previous content
        DrawFilledRect(20, 0, 5, 5, kBlue);
        ShowScreen();
        EXPECT_EQ(Surfaces().activeScreen, -1);

        SpriteDraw(301, 100, 200);
        EXPECT_EQ(BackBufferPixel(100, 200), kRed);
        EXPECT_EQ(BackBufferPixel(135, 217), kGrey);
        EXPECT_EQ(BackBufferPixel(122, 202), kBlue);
        EXPECT_EQ(BackBufferPixel(115, 210), 0u) << "untouched parts of the screen stay transparent";
    }
}

TEST_F(SurfaceTest, BackgroundsCaptureLoadDrawAndFree) {
    DrawFilledRect(0, 0, 320, 480, kRed);
    DrawFilledRect(600, 400, 40, 80, kGreen);
    BackgroundCapture();
    const BackgroundBuffer& b = Surfaces().backgrounds[0];
    EXPECT_EQ(b.columns * b.rows, 1) << "one tile holds the 640 x 480 screen";
    // Buffer 0 is drawn behind every frame.
    ShowScreen();
    EXPECT_EQ(BackBufferPixel(10, 10), kRed);
    EXPECT_EQ(BackBufferPixel(639, 479), kGreen);
    EXPECT_EQ(BackBufferPixel(400, 10), kBlue);

    // A 700 x 500 picture needs 2 x 1 tiles of 512 x 512.
    std::string picture = WriteTestFile(
        "backdrop.bmp", Bmp24(Picture(700, 500, [](int32_t x, int32_t) { return x < 600 ? 0u : kGreen; })));
    std::string before = ReadLog();
    Loadbmp(picture.c_str());
    EXPECT_EQ(ReadLog().substr(before.size()), "Loadbmp\r\nShoeboxing\r\nOK?\r\n");
    EXPECT_EQ(b.columns, 2);
    EXPECT_EQ(b.rows, 1);
    EXPECT_EQ(BackBufferPixel(620, 10), kGreen);
    EXPECT_EQ(BackBufferPixel(10, 10), 0u);

    // Whether the name resolves ("OK?") or not ("failed"), a missing picture leaves no background.
    before = ReadLog();
    Loadbmp("no such picture.bmp");
    std::string lines = ReadLog().substr(before.size());
    EXPECT_TRUE(lines == "Loadbmp\r\nShoeboxing\r\nfailed\r\n" || lines == "Loadbmp\r\nShoeboxing\r\nOK?\r\n") << lines;
    EXPECT_EQ(b.columns, 0);
    EXPECT_EQ(BackBufferPixel(620, 10), 0u) << "the colour buffer is cleared (black since ShowScreen)";

    // Past 8 x 8 tiles the picture is cut.
    Loadbmp(WriteTestFile("long.bmp", Bmp24(SolidPicture(4200, 2, kGreen))).c_str());
    EXPECT_EQ(b.columns, 8);
    BackgroundCapture();
    ClearScreen();
    EXPECT_EQ(b.columns, 0);
}

TEST_F(SurfaceTest, FadeEndsWithThePictureAsBackground) {
    std::string picture = WriteTestFile("fade.bmp", Bmp24(SolidPicture(64, 64, kWhite)));
    DrawFilledRect(0, 0, 640, 480, kRed);
    double start = ReadClockMs();
    BackgroundLoadFade(picture.c_str());
    EXPECT_GE(ReadClockMs() - start, 1400);
    EXPECT_EQ(Surfaces().backgrounds[1].columns + Surfaces().backgrounds[2].columns, 0) << "its buffers are freed";
    ShowScreen();
    EXPECT_EQ(BackBufferPixel(10, 10), kWhite);
    EXPECT_EQ(BackBufferPixel(100, 10), 0u) << "the tile past the picture is transparent black";
}

TEST_F(SurfaceTest, SavedPicturesLoadBackToTheSamePixels) {
    DrawFilledRect(0, 0, 640, 480, kGrey);
    DrawFilledRect(0, 0, 3, 7, kRed);
    DrawFilledRect(1, 1, 1, 1, kKey);
    DrawFilledRect(600, 470, 40, 10, kGreen);
    for (const char* name : {"screen.bmp", "screen.PNG"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ScreenSave(Temp(name).c_str()));
        ASSERT_TRUE(SpriteLoad(Temp(name).c_str(), 400));
        glClear(GL_COLOR_BUFFER_BIT);
        SpriteDraw(400, 0, 0);
        EXPECT_EQ(BackBufferPixel(0, 0), kRed);
        EXPECT_EQ(BackBufferPixel(1, 1), kBlue) << "the key stays transparent";
        EXPECT_EQ(BackBufferPixel(300, 300), kGrey);
        EXPECT_EQ(BackBufferPixel(639, 479), kGreen);
    }
    // With a screen active the back buffer is saved all the same, and no GL error is left.
    if (GlExt().glGenFramebuffersEXT) {
        ScreenCreate(6, 404, 32, 32);
        ScreenUse(6);
        DrawFilledRect(0, 0, 32, 32, kBlue);
        while (glGetError() != GL_NO_ERROR) {}
        ASSERT_TRUE(ScreenSave(Temp("during screen.bmp").c_str()));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(ReadPixel(1, 1), kBlue) << "drawing still goes to the screen";
        ScreenUse(-1);
        ASSERT_TRUE(SpriteLoad(Temp("during screen.bmp").c_str(), 405));
        EXPECT_EQ(std::pair(SlotOf(405)->width, SlotOf(405)->height), std::pair(int16_t{640}, int16_t{480}));
        glClear(GL_COLOR_BUFFER_BIT);
        SpriteDraw(405, 0, 0);
        EXPECT_EQ(BackBufferPixel(0, 0), kRed);
        EXPECT_EQ(BackBufferPixel(639, 479), kGreen);
    }
    EXPECT_EQ(ReadFile(Temp("screen.PNG")).substr(1, 3), "PNG");
    EXPECT_EQ(ReadFile(Temp("screen.bmp")).substr(0, 2), "BM");

    // A 3-pixel-wide sprite: rows of 12 bytes; its key-coloured pixel stays transparent.
    glClear(GL_COLOR_BUFFER_BIT);
    DrawFilledRect(0, 0, 3, 7, kRed);
    DrawFilledRect(1, 1, 1, 1, kKey);
    ASSERT_TRUE(SpriteGrab(401, 0, 0, 3, 7));
    ASSERT_TRUE(SpriteSave(Temp("narrow").c_str(), 401));
    EXPECT_EQ(ReadFile(Temp("narrow")).size(), 54u + 12 * 7);
    ASSERT_TRUE(SpriteSave(Temp("narrow.png").c_str(), 401));
    for (const char* name : {"narrow", "narrow.png"}) {
        ASSERT_TRUE(SpriteLoad(Temp(name).c_str(), 402));
        DrawFilledRect(100, 100, 10, 10, kGrey);
        SpriteDraw(402, 100, 100);
        EXPECT_EQ(BackBufferPixel(100, 100), kRed) << name;
        EXPECT_EQ(BackBufferPixel(101, 101), kGrey) << name;
    }
    EXPECT_FALSE(SpriteSave(Temp("empty.bmp").c_str(), 403));
    EXPECT_FALSE(SpriteSave(Temp("no/folder.bmp").c_str(), 401));
}
