// Sprites that share atlas textures draw, tile, collide, grab and reload as sprites with textures of
// their own do.
#include "runtime/core/core.h"
#include "runtime/core/gl_state.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/gfx2d/test_images.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <utility>

namespace {

// 8 x 8, quadrants red (top-left), green (top-right), blue and white (bottom).
TestPicture Quadrants() {
    return Picture(8, 8,
                   [](int32_t x, int32_t y) { return y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite); });
}

// 3 x 5 grey with the key colour in its bottom-right corner.
TestPicture KeyedCorner() {
    TestPicture p = SolidPicture(3, 5, kGrey);
    p.At(2, 4) = kKey;
    return p;
}

// 32 x 32 of unrelated colours, none of them the key, so that any mixing of neighbouring texels shows.
TestPicture Noise() {
    return Picture(32, 32, [](int32_t x, int32_t y) {
        return (static_cast<uint32_t>(x * 73 + y * 151) * 2654435761u >> 8) & 0x7F7F7Fu;
    });
}

// Pixels of the block at (x, y) that differ from the picture's block at (fromX, fromY).
int32_t PixelsDiffering(const TestPicture& picture, int32_t fromX, int32_t fromY, int32_t side, int32_t x, int32_t y) {
    int32_t differing = 0;
    for (int32_t row = 0; row < side; ++row)
        for (int32_t column = 0; column < side; ++column)
            differing +=
                static_cast<uint32_t>(ReadPixel(x + column, y + row)) != picture.At(fromX + column, fromY + row);
    return differing;
}

void LoadNeighbours() {
    SpriteFreeAll();
    for (int32_t id = 40; id < 48; ++id) ASSERT_TRUE(LoadPicture(id, SolidPicture(8, 8, 0x203040 + id)));
    ASSERT_TRUE(LoadPicture(30, Quadrants()));
    ASSERT_TRUE(LoadPicture(31, SolidPicture(8, 8, 0x00FFFF)));
    ASSERT_TRUE(LoadPicture(32, KeyedCorner()));
}

} // namespace

TEST(SpriteAtlas, SharedSpritesKeepTheirPixelsFramesKeysTilingAndMasks) {
    StartDrawing();
    LoadNeighbours();
    struct Case {
        const char* what;
        void (*draw)();
        int32_t x, y;
        uint32_t expected;
    };
    const Case cases[] = {
        {"next to a neighbour in the atlas", [] { SpriteDraw(31, 100, 100); }, 107, 100, 0x00FFFF},
        {"frame 1 of 4 x 4 frames",
         [] {
             SpriteSetFrameSize(30, 4, 4);
             FrameDraw(30, 1, 10, 10);
         },
         11, 11, kGreen},
        {"frame 2, the bottom-left",
         [] {
             SpriteSetFrameSize(30, 4, 4);
             FrameDraw(30, 2, 10, 10);
         },
         13, 13, kBlue},
        {"keyed pixel shows the ground",
         [] {
             DrawFilledRect(0, 0, 20, 20, kGreen);
             SetBlendMode(1);
             SpriteDraw(32, 0, 0);
             SetBlendMode(0);
         },
         2, 4, kGreen},
        {"pixel beside the keyed one",
         [] {
             SetBlendMode(1);
             SpriteDraw(32, 0, 0);
             SetBlendMode(0);
         },
         1, 4, kGrey},
        {"polygon tiling the sprite twice",
         [] {
             SetSmoothing(false);
             PolyBegin(30);
             for (auto [x, y] : {std::pair{0, 0}, {0, 16}, {16, 16}, {16, 0}})
                 PolyVertex(200 + x, 200 + y, x, y, kWhite);
             PolyEnd();
         },
         209, 201, kRed},
    };
    for (const Case& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        c.draw();
        EXPECT_EQ(static_cast<uint32_t>(ReadPixel(c.x, c.y)), c.expected) << c.what;
    }
    EXPECT_FALSE(SpriteCollide(32, 0, 0, 31, 2, 4)) << "only the keyed pixel overlaps";
    EXPECT_TRUE(SpriteCollide(32, 0, 0, 31, 1, 4));
}

TEST(SpriteAtlas, GrabsFreesAndReloadsReplaceWhatASpriteDraws) {
    StartDrawing();
    LoadNeighbours();
    SetSmoothing(false);
    DrawFilledRect(0, 0, 8, 8, kBlue);
    ASSERT_TRUE(SpriteGrab(31, 0, 0, 8, 8));
    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDraw(31, 50, 50);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(53, 53)), kBlue) << "a grab into a shared sprite";

    ASSERT_TRUE(LoadPicture(30, SolidPicture(8, 8, kWhite)));
    ASSERT_TRUE(LoadPicture(48, SolidPicture(8, 8, kGreen))); // may take the cell 30 left
    SpriteDraw(30, 60, 50);
    SpriteDraw(48, 70, 50);
    SpriteDraw(40, 80, 50);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(63, 53)), kWhite) << "reloaded";
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(73, 53)), kGreen) << "loaded after a reload";
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(83, 53)), 0x203040u + 40) << "untouched";

    SpriteFreeAll();
    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDraw(40, 80, 50);
    EXPECT_EQ(ReadPixel(83, 53), 0) << "freed";
    ASSERT_TRUE(LoadPicture(41, SolidPicture(8, 8, kRed)));
    SpriteDraw(41, 80, 50);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(83, 53)), kRed) << "loaded after freeing all";
}

TEST(SpriteAtlas, PlainAndFrameDrawsShowEachTexelOnItsPixelSmoothedOrNot) {
    StartDrawing();
    LoadNeighbours();
    const TestPicture noise = Noise();
    ASSERT_TRUE(LoadPicture(50, noise));
    SpriteSetFrameSize(50, 16, 16);
    for (bool smoothing : {true, false}) {
        glClear(GL_COLOR_BUFFER_BIT);
        SetSmoothing(smoothing);
        SpriteDraw(50, 3, 5);
        FrameDraw(50, 3, 100, 7);
        EXPECT_EQ(PixelsDiffering(noise, 0, 0, 32, 3, 5), 0) << "smoothing " << smoothing;
        EXPECT_EQ(PixelsDiffering(noise, 16, 16, 16, 100, 7), 0) << "frame 3, smoothing " << smoothing;
    }
    // A program's own scaling puts pixels between texels: smoothing mixes them again.
    FlushGL();
    glScalef(2, 2, 1);
    SetSmoothing(true);
    SpriteDraw(50, 0, 0);
    EXPECT_NE(static_cast<uint32_t>(ReadPixel(11, 11)), noise.At(5, 5));
    FlushGL();
    glLoadIdentity();
}

TEST(SpriteAtlas, AlternatingSpritesAndFramesDrawAsOneBatchWhateverTheSmoothing) {
    StartDrawing();
    LoadNeighbours();
    SpriteSetFrameSize(30, 4, 4);
    GlFlushQuads();
    uint64_t before = GlStateRecord().batchDraws;
    for (int32_t i = 0; i < 300; ++i) {
        SetSmoothing(i % 3 != 0);
        SpriteDraw(40 + i % 8, i, 10);
        FrameDraw(30, i % 4, i, 30);
        SpriteDraw(32, i, 50);
    }
    GlFlushQuads();
    EXPECT_EQ(GlStateRecord().batchDraws - before, 1u);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(305, 12)), 0x203040u + 43) << "the last sprite drawn";
}
