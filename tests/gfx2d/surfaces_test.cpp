// Grabs and off-screen screens on both paths, backgrounds, saving, and the BMP writer's bytes.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/surfaces.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

void StartOnBlue() {
    StartDrawing();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

std::string Temp(const char* name) { return platform::TempDir() + name; }

} // namespace

// The back buffer here has no alpha bits; a screen's framebuffer object has, so the copy path is taken
// inside one (which also checks that grabs count rows from the screen's own bottom). The grab on the
// back buffer comes second: it must not take the path of the grab before, and it probes the key in a
// viewport, at its pixel (4, 4) put back afterwards, through blending that would swallow the key.
// Grabs keep their size and make the key transparent.
TEST(Surfaces, GrabsAndScreensOnBothPaths) {
    StartOnBlue();
    for (bool screen : {true, false}) {
        SCOPED_TRACE(screen ? "copy with framebuffer alpha" : "read back and compare with the probed key");
        glClear(GL_COLOR_BUFFER_BIT);
        if (screen) ScreenCreate(2, 0, 64, 48);
        ScreenUse(screen ? 2 : -1);
        if (!screen) SetViewport(50, 60, 100, 100);
        DrawFilledRect(0, 0, 10, 10, kRed);
        DrawFilledRect(6, 6, 3, 3, kKey);
        SetBlendMode(-0.5);
        ASSERT_TRUE(SpriteGrab(200, screen ? 0 : 50, screen ? 0 : 60, 10, 10)); // grabs ignore the viewport
        SetBlendMode(0);
        ScreenUse(-1);
        EXPECT_NE(BackBufferPixel(1, 1), kRed) << "drawing in a viewport or a screen leaves this pixel";
        DrawFilledRect(100, 100, 20, 20, kGrey);
        SpriteDraw(200, 100, 100);
        // The sprite's corner, the probed pixel, and the key-coloured area, which is transparent.
        for (auto [xy, colour] : {std::pair(109, kRed), {104, kRed}, {107, kGrey}})
            EXPECT_EQ(BackBufferPixel(xy, xy), colour) << xy;
    }
    for (auto [id, width, height] :
         {std::tuple{200, 0, 10}, {200, 10, 0}, {65536, 10, 10}, {-1, 10, 10}, {200, 40000, 10}, {200, 10, 40000}})
        EXPECT_FALSE(SpriteGrab(id, 0, 0, width, height)) << id << " " << width << " x " << height;
    int32_t w = 0, h = 0;
    SpriteGetSize(200, w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(10, 10)) << "failed grabs leave the slot";
    ASSERT_TRUE(SpriteGrab(200, 115, 100, 1, 1)); // one pixel, in a larger texture
    SpriteDraw(200, 300, 300);
    EXPECT_EQ(BackBufferPixel(300, 300), kGrey);
    EXPECT_NE(BackBufferPixel(301, 300), kGrey);

    // Screens tell the same story on both paths: draw into one, let ShowScreen finish it, use the sprite.
    const GlExtensions extensions = GlExt();
    for (bool objects : {true, false}) {
        SCOPED_TRACE(objects ? "framebuffer objects" : "emulated in the back buffer");
        if (!objects) GlExt().glBindFramebufferEXT = nullptr; // one entry point missing is enough
        ScreenCreate(0, 301, 40, 20);         // made anew without its framebuffer object the second time
        DrawFilledRect(0, 0, 60, 60, kGreen); // what the back buffer showed before
        ScreenUse(0);
        DrawFilledRect(0, 0, 10, 5, kRed);
        DrawFilledRect(30, 15, 10, 5, kGrey);
        DrawFilledRect(39, 19, 10, 10, kWhite); // the screen's viewport cuts it
        EXPECT_EQ(ReadPixel(35, 17), static_cast<double>(kGrey));
        if (objects) { // saving the screen saves the back buffer, untouched
            ASSERT_TRUE(ScreenSave(Temp("during.bmp").c_str()));
            EXPECT_EQ(ReadFile(Temp("during.bmp")).substr(54 + (477 * 640 + 5) * 3, 3), std::string("\0\xFF\0", 3));
        }

        ScreenUse(-1);
        EXPECT_EQ(BackBufferPixel(5, 2), kGreen) << "the back buffer's own content is back";
        ScreenUse(0);  // continues on the screen's previous content
        ScreenUse(32); // no such screen: drawing stays where it was
        DrawFilledRect(20, 0, 5, 5, kBlue);
        ShowScreen();
        DrawFilledRect(0, 0, 640, 480, 0);
        SpriteDraw(301, 100, 200);
        // Untouched parts of the screen stay transparent.
        for (auto [x, y, colour] :
             {std::tuple{100, 200, kRed}, {135, 217, kGrey}, {122, 202, kBlue}, {139, 219, kWhite}, {115, 210, 0u}})
            EXPECT_EQ(BackBufferPixel(x, y), colour) << x << "," << y;
    }
    ScreenCreate(5, 300, 1, 1);
    for (auto [screen, width, height] : {std::tuple{5, 10, 0}, {5, 0, 10}, {32, 10, 10}})
        ScreenCreate(screen, 300, width, height);
    SpriteGetSize(300, w, h);
    EXPECT_EQ(w + h, 2) << "one pixel makes a screen; none without pixels or past the last";
    GlExt() = extensions;
}

TEST(Surfaces, BackgroundsCaptureLoadDrawAndFreeSavedPicturesLoadBack) {
    StartOnBlue();
    DrawFilledRect(0, 0, 320, 480, kRed);
    DrawFilledRect(600, 400, 40, 80, kGreen);
    BackgroundCapture();
    ShowScreen(); // buffer 0 is drawn behind every frame
    for (auto [x, y, colour] : {std::tuple{10, 10, kRed}, {639, 479, kGreen}, {400, 10, kBlue}})
        EXPECT_EQ(BackBufferPixel(x, y), colour) << x << "," << y;
    ASSERT_TRUE(LoadPicture(1, SolidPicture(20, 20, kWhite)));
    SpriteDraw(1, 0, 0);
    BackgroundCapture(); // into the same tiles, while the sprite's texture is bound
    ShowScreen();
    EXPECT_EQ(BackBufferPixel(10, 10), kWhite);

    // A 600 x 500 picture needs 2 x 1 tiles of 512 x 512; past its right edge the tile stays black.
    std::string picture = WriteTestFile(
        "backdrop.bmp", Bmp24(Picture(600, 500, [](int32_t x, int32_t) { return x < 500 ? kRed : kGreen; })));
    std::string before = ReadLog();
    Loadbmp(picture.c_str());
    EXPECT_EQ(ReadLog().substr(before.size()), "Loadbmp\r\nShoeboxing\r\nOK?\r\n");
    // At 600 the edge's colour, for filtering.
    for (auto [x, y, colour] : {std::tuple(490, 400, kRed), {600, 10, kGreen}, {610, 10, 0u}})
        EXPECT_EQ(BackBufferPixel(x, y), colour) << x << "," << y;
    // A fade of 1.5 s from it ends on the new picture.
    BackgroundLoadFade(WriteTestFile("fade.bmp", Bmp24(SolidPicture(640, 480, kGreen))).c_str());
    ShowScreen();
    EXPECT_EQ(BackBufferPixel(10, 10), kGreen);

    // A missing picture leaves no background, and the colour buffer cleared (black since ShowScreen).
    Loadbmp("no such picture.bmp");
    EXPECT_EQ(Surfaces().backgrounds[0].columns, 0);
    EXPECT_EQ(BackBufferPixel(600, 10), 0u);
    // Whole tiles, at most 8 x 8: past that the picture is cut.
    for (auto [width, columns] : {std::pair{1024, 2}, {4200, 8}}) {
        Loadbmp(WriteTestFile("long.bmp", Bmp24(SolidPicture(width, 2, kGreen))).c_str());
        EXPECT_EQ(Surfaces().backgrounds[0].columns, columns);
    }
    ClearScreen();
    EXPECT_EQ(Surfaces().backgrounds[0].columns, 0);

    // Saved as BMP and as PNG, the screen and a 3-pixel-wide sprite (rows of 12 bytes) load back to the
    // same pixels, the key staying transparent.
    DrawFilledRect(0, 0, 640, 480, kGrey);
    DrawFilledRect(0, 0, 3, 7, kRed);
    DrawFilledRect(1, 1, 1, 1, kKey);
    DrawFilledRect(600, 470, 40, 10, kGreen);
    ASSERT_TRUE(SpriteGrab(401, 0, 0, 3, 7));
    ASSERT_TRUE(ScreenSave(Temp("screen.bmp").c_str()) && ScreenSave(Temp("screen.PNG").c_str()));
    ASSERT_TRUE(SpriteSave(Temp("narrow").c_str(), 401) && SpriteSave(Temp("narrow.png").c_str(), 401));
    for (const char* name : {"screen.bmp", "screen.PNG", "narrow", "narrow.png"}) {
        ASSERT_TRUE(SpriteLoad(Temp(name).c_str(), 400)) << name;
        DrawFilledRect(0, 0, 640, 480, kBlue);
        SpriteDraw(400, 0, 0);
        auto corners = std::tuple(BackBufferPixel(0, 0), BackBufferPixel(1, 1), BackBufferPixel(639, 479));
        EXPECT_EQ(corners, std::tuple(kRed, kBlue, name[0] == 's' ? kGreen : kBlue)) << name;
    }
    EXPECT_EQ(ReadFile(Temp("screen.PNG")).substr(1, 3), "PNG");
    EXPECT_FALSE(SpriteSave(Temp("empty.bmp").c_str(), 403));
}

// A 3 x 2 picture kept in a 4-pixel pitch, bottom row first, B, G, R; its bottom row holds the key.
TEST(ImageWriter, BmpBytesPaddingRowsAndKey) {
    std::vector<uint8_t> bgr = {1, 2, 3, 4, 5, 6, 128, 0, 255, 9, 9, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90, 9, 9, 9};
    const BgrPicture picture{bgr.data(), 3, 2, 4, 255u << 24 | 128u << 8};
    // 3-pixel rows padded to 12 bytes, at 10000 pixels a metre.
    std::vector<uint8_t> expected = Bmp24({3, 2, {0x0A141E, 0x28323C, 0x46505A, 0x010203, 0x040506, kKey}});
    expected[38] = expected[42] = 0x10;
    expected[39] = expected[43] = 0x27;
    EXPECT_EQ(EncodeBmp(picture), expected);

    // A pixel that shows the stored key is written as the canonical key colour.
    bgr[0] = bgr[1] = bgr[2] = 7;
    std::vector<uint8_t> keyed = EncodeBmp({bgr.data(), 3, 2, 4, 7u << 24 | 7u << 16 | 7u << 8});
    EXPECT_EQ(std::vector<uint8_t>(keyed.begin() + 54, keyed.begin() + 57), (std::vector<uint8_t>{128, 0, 255}));

    // Backslashes from programs are folder separators; a longer old file is replaced, not overwritten.
    std::string dir = platform::TempDir(), path = dir + "replaced.bmp";
    std::string filler(5000, 'x');
    ASSERT_TRUE(ImageWrite(path, {reinterpret_cast<const uint8_t*>(filler.data()), 40, 40, 40, 0}));
    ASSERT_TRUE(ImageWrite(dir.substr(0, dir.size() - 1) + "\\replaced.bmp", picture));
    EXPECT_EQ(ReadFile(path).size(), 54u + 24);
    EXPECT_FALSE(ImageWrite(dir + "no/such/folder.bmp", picture));
    EXPECT_FALSE(ImageWrite(dir + "empty.bmp", {bgr.data(), 0, 2, 4, 0}));
    EXPECT_FALSE(ImageWrite(dir + "empty.png", {bgr.data(), 3, 0, 4, 0}));
    std::vector<uint8_t> wide(3 * 1000001);
    EXPECT_FALSE(ImageWrite(dir + "wide.png", {wide.data(), 1000001, 1, 1000001, 0})) << "wider than PNG writers allow";
}
