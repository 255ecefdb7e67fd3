// Drawing, read back from the frame: primitives, blend modes, sprite and frame geometry, polygons.
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/gfx2d/test_images.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

// The colour covers exactly the rectangle (x0..x1, y0..y1) and nothing else.
void ExpectRect(uint32_t colour, int x0, int y0, int x1, int y1) {
    int inside = 0, outside = 0;
    FlushGL();
    std::vector<uint8_t> rgb(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint8_t* p = &rgb[(static_cast<size_t>(479 - y) * 640 + x) * 3];
            if (static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) == colour)
                ++(x >= x0 && x <= x1 && y >= y0 && y <= y1 ? inside : outside);
        }
    EXPECT_EQ(inside, (x1 - x0 + 1) * (y1 - y0 + 1)) << x0 << "," << y0 << " - " << x1 << "," << y1;
    EXPECT_EQ(outside, 0);
}

} // namespace

// Primitives and polygons cover exactly their pixels; blend modes mix sprites and primitives alike
// until the frame ends; sprites and frames cover theirs zoomed, mirrored and turned.
TEST(Drawing, PrimitivesAndSpritesCoverTheirPixelsAndBlend) {
    StartDrawing();
    DrawFilledRect(10, 10, -5, 3, kRed);
    ExpectRect(kRed, 6, 10, 10, 12);
    DrawFilledRect(40, 40, 4, -2, kGreen);
    ExpectRect(kGreen, 40, 39, 43, 40);
    DrawLine(100, 50, 104, 50, kWhite);
    ExpectRect(kWhite, 100, 50, 104, 50);
    DrawPixel(200, 100, 0x123456);
    EXPECT_EQ(ReadPixel(200, 100), 0x123456);

    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(LoadPicture(10, Quadrants(8, 8)));
    DrawFilledRect(0, 0, 100, 20, 0x404040);
    SetBlendMode(2);
    SpriteDraw(10, 20, 0);
    EXPECT_EQ(ReadPixel(21, 1), 0x4040FF) << "additive at full strength";
    SetBlendMode(-0.25);
    SpriteDraw(10, 40, 0);
    EXPECT_NEAR(static_cast<int>(ReadPixel(41, 1) & 255), 112, 2) << "a quarter of red over grey 64";
    DrawFilledRect(60, 0, 4, 4, 0xFFFFFF);
    EXPECT_NEAR(static_cast<int>(ReadPixel(61, 1) & 255), 112, 2) << "primitives blend too";
    ShowScreen();
    DrawFilledRect(60, 0, 4, 4, kRed);
    DrawFilledRect(60, 0, 4, 4, kGreen);
    EXPECT_EQ(ReadPixel(61, 1), kGreen) << "opaque again in the next frame";

    // A square of four corners, then the last corner repeated until the list has grown several times.
    glClear(GL_COLOR_BUFFER_BIT);
    PolyBegin(-1);
    for (auto [x, y] : {std::pair{10, 10}, {10, 30}, {30, 30}}) PolyVertex(x, y, 0, 0, kGreen);
    for (int i = 0; i < 997; ++i) PolyVertex(30, 10, 0, 0, kGreen);
    PolyEnd();
    ExpectRect(kGreen, 10, 10, 29, 29);
    glClear(GL_COLOR_BUFFER_BIT);
    PolyEnd(); // the list stays for another PolyEnd
    ExpectRect(kGreen, 10, 10, 29, 29);

    // Whole sprites and frames zoomed, mirrored and turned; frames that do not fit the image.
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(LoadPicture(11, Quadrants(10, 10)));
    SetSmoothing(false);
    SpriteDrawZoomed(11, 100, 100, 2, 2);
    ExpectRect(kRed, 95, 95, 104, 104);

    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDrawStretched(11, 60, 10, -10, 10);   // mirrored: x 50..59
    SpriteDrawStretched(11, 200, 20, -10, -10); // turned half round: 190..199, 10..19
    SpriteDrawRotated(11, 300, 300, 90);        // counter-clockwise: the top-right quadrant goes to the top-left
    SpriteDrawRotoZoomed(11, 400, 300, 0, 2);   // centre stays at (405, 305)
    for (auto [x, y, colour] : {std::tuple{51, 11, kGreen}, {191, 11, kWhite}, {302, 302, kGreen}, {397, 297, kRed}})
        EXPECT_EQ(ReadPixel(x, y), colour) << x << "," << y;

    // 64 x 32 image of 16 x 16 cells, each cell one colour: cell n has red = 10 * (n + 1).
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(LoadPicture(12, Picture(64, 32, [](int32_t x, int32_t y) { return 10u * (y / 16 * 4 + x / 16 + 1); })));
    SpriteSetFrameSize(12, 16, 16);
    FrameDrawStretched(12, 2, 100, 0, 32, 32);
    ExpectRect(30, 100, 0, 131, 31);
    FrameDrawRotoZoomed(12, 7, 200, 0, 90, 1);
    EXPECT_EQ(ReadPixel(208, 8), 80);

    // Frames wider than the image have no columns, frames of width 0 none either, ids outside the
    // table no slot: nothing is drawn.
    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDraw(-1, 0, 0);
    for (auto [w, h] : {std::pair{100, 16}, {0, 0}, {0, 16}, {16, 0}}) {
        SpriteSetFrameSize(12, w, h);
        FrameDraw(12, 0, 0, 0);
        FrameDrawStretched(12, 0, 0, 0, 10, 10);
        FrameDrawRotoZoomed(12, 0, 0, 0, 0, 1);
    }
    ExpectRect(0, 0, 0, 639, 479);
}
