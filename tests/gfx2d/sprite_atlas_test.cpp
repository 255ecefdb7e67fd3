// Sprites that share atlas textures draw, tile, collide, grab and reload as sprites with textures of
// their own do, and runs of them draw as one batch.
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/sprite_atlas.h"
#include "tests/gfx2d/test_images.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

// Pixels of the block at (x, y) that differ from the picture's block at (fromX, fromY).
int32_t PixelsDiffering(const TestPicture& picture, int32_t fromX, int32_t fromY, int32_t side, int32_t x, int32_t y) {
    int32_t differing = 0;
    for (int32_t row = 0; row < side; ++row)
        for (int32_t column = 0; column < side; ++column)
            differing +=
                static_cast<uint32_t>(ReadPixel(x + column, y + row)) != picture.At(fromX + column, fromY + row);
    return differing;
}

// 40..47 solid, 0 quadrants, 31 cyan, 32 grey 3 x 5 with the key in its bottom-right corner.
void LoadNeighbours() {
    SpriteFreeAll();
    for (int32_t id = 40; id < 48; ++id) ASSERT_TRUE(LoadPicture(id, SolidPicture(8, 8, 0x203040 + id)));
    ASSERT_TRUE(LoadPicture(0, Quadrants(8, 8)));
    ASSERT_TRUE(LoadPicture(31, SolidPicture(8, 8, 0x00FFFF)));
    TestPicture keyed = SolidPicture(3, 5, kGrey);
    keyed.At(2, 4) = kKey;
    ASSERT_TRUE(LoadPicture(32, keyed));
}

} // namespace

// 32 x 32 of unrelated colours (none the key, so any mixing of neighbouring texels shows) in 16 x 16
// frames: each texel on its pixel, smoothed or not. Runs of shared sprites and frames draw as one batch.
TEST(SpriteAtlas, SharedSpritesKeepPixelsFramesKeysTilingMasksBatchesAndGrabs) {
    StartDrawing();
    LoadNeighbours();
    const TestPicture noise = Picture(32, 32, [](int32_t x, int32_t y) {
        return (static_cast<uint32_t>(x * 73 + y * 151) * 2654435761u >> 8) & 0x7F7F7Fu;
    });
    ASSERT_TRUE(LoadPicture(50, noise));
    SpriteSetFrameSize(50, 16, 16);
    for (bool smoothing : {true, false}) {
        glClear(GL_COLOR_BUFFER_BIT);
        SetSmoothing(smoothing);
        // The whole sprite (frame -1), then frames 1 and 2, each against its block of the picture.
        for (auto [frame, fromX, fromY, side, x, y] :
             {std::tuple(-1, 0, 0, 32, 3, 5), {1, 16, 0, 16, 100, 7}, {2, 0, 16, 16, 200, 7}}) {
            frame < 0 ? SpriteDraw(50, x, y) : FrameDraw(50, frame, x, y);
            EXPECT_EQ(PixelsDiffering(noise, fromX, fromY, side, x, y), 0) << "frame " << frame << ", " << smoothing;
        }
    }
    // A program's own scaling puts pixels between texels: smoothing mixes them again.
    FlushGL();
    glScalef(2, 2, 1);
    SetSmoothing(true);
    SpriteDraw(50, 0, 0);
    EXPECT_NE(static_cast<uint32_t>(ReadPixel(11, 11)), noise.At(5, 5));
    FlushGL();
    glLoadIdentity();
    // Keyed texels take the colour of their opaque neighbours off the border (blue, red and white here),
    // so a stretched green edge stays green up to where it is cut.
    ASSERT_TRUE(LoadPicture(33, Picture(8, 4, [](int32_t x, int32_t y) {
        return x == 1 || x == 6 ? kKey : x == 0 ? kBlue : x == 7 ? kRed : y == 0 || y == 3 ? kWhite : kGreen;
    })));
    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDrawStretched(33, 0, 0, 800, 400);
    for (auto [x, y] : {std::pair(225, 150), {225, 250}, {575, 150}, {575, 250}}) {
        auto pixel = static_cast<uint32_t>(ReadPixel(x, y));
        EXPECT_LT(std::max(pixel & 255, pixel >> 16), 4u) << x << "," << y;
        EXPECT_GT(pixel >> 8 & 255, 240u) << x << "," << y;
    }

    glClear(GL_COLOR_BUFFER_BIT);
    DrawFilledRect(0, 0, 20, 20, kGreen);
    SetBlendMode(1);
    SpriteDraw(32, 0, 0);
    SetBlendMode(0);
    EXPECT_EQ(ReadPixel(2, 4), kGreen) << "the keyed pixel shows the ground";
    EXPECT_EQ(ReadPixel(1, 4), 0x80FF80) << "the pixel beside it adds its grey";
    SetSmoothing(false);
    PolyBegin(0);
    for (auto [x, y] : {std::pair{0, 0}, {0, 16}, {16, 16}, {16, 0}}) PolyVertex(200 + x, 200 + y, x, y, kWhite);
    PolyEnd();
    EXPECT_EQ(ReadPixel(209, 201), kRed) << "a polygon tiles the sprite twice";
    EXPECT_FALSE(SpriteCollide(32, 0, 0, 31, 2, 4)) << "only the keyed pixel overlaps";
    EXPECT_TRUE(SpriteCollide(32, 0, 0, 31, 1, 4));

    SpriteSetFrameSize(0, 4, 4);
    GlFlushQuads();
    uint64_t before = GlStateRecord().batchDraws;
    for (int32_t i = 0; i < 300; ++i) {
        SetSmoothing(i % 3 != 0);
        SpriteDraw(40 + i % 8, i, 10);
        FrameDraw(0, i % 4, i, 30);
        SpriteDraw(32, i, 50);
    }
    GlFlushQuads();
    EXPECT_EQ(GlStateRecord().batchDraws - before, 1u) << "alternating sprites and frames, whatever the smoothing";

    // Grabs and reloads replace what a shared sprite draws: 31 grabbed into, 30 reloaded, 48 loaded after.
    LoadNeighbours();
    SetSmoothing(false);
    DrawFilledRect(0, 0, 8, 8, kBlue);
    ASSERT_TRUE(SpriteGrab(31, 0, 0, 8, 8));
    ASSERT_TRUE(LoadPicture(30, SolidPicture(8, 8, kWhite)));
    ASSERT_TRUE(LoadPicture(48, SolidPicture(8, 8, kGreen))); // may take the cell 30 left
    for (auto [id, colour] : {std::pair{31, kBlue}, {30, kWhite}, {48, kGreen}}) {
        SpriteDraw(id, 50, 50);
        EXPECT_EQ(ReadPixel(53, 53), colour) << id;
    }
}

// Cells of texture widths 3 x 256, 128, 64, 32, 8, 4 and 2, each with its border, fill the 1024 texels
// of a page's row exactly: the last still shares the row. Rows of 4, 3 x 258 (three cells each), 130,
// 66, 34, 10 and 6 texels fill its height exactly: the last still shares the page.
TEST(SpriteAtlas, CellsFillAPageToItsEdges) {
    StartDrawing();
    SpriteFreeAll();
    int32_t id = 60;
    for (int32_t w : {256, 256, 256, 128, 64, 32, 8, 4, 2}) ASSERT_TRUE(LoadPicture(id++, SolidPicture(w, 2, kRed)));
    ASSERT_NE(AtlasCellOf(68), nullptr);
    EXPECT_EQ(std::pair(AtlasCellOf(68)->x, AtlasCellOf(68)->y), std::pair(1020, 0));
    for (int32_t h : {256, 256, 256, 256, 256, 256, 256, 128, 64, 32, 8, 4})
        ASSERT_TRUE(LoadPicture(id++, SolidPicture(256, h, kRed)));
    ASSERT_NE(AtlasCellOf(80), nullptr);
    EXPECT_EQ(std::pair(AtlasCellOf(80)->page, AtlasCellOf(80)->y), std::pair(0, 1018));
}
