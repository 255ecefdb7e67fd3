// Pixel-exact collisions of whole sprites and of animation frames.
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "tests/gfx2d/test_images.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kKey = 0x8000FF;

} // namespace

TEST(Collision, OpaquePixelsCollideTouchingEdgesAndTransparentPixelsDoNot) {
    StartDrawing();
    ASSERT_TRUE(SpriteLoad(WriteTestFile("box.bmp", Bmp24(SolidPicture(10, 10, 0x00FF00))).c_str(), 20));
    // A 10 x 10 ring: only its one-pixel border is opaque.
    TestPicture ring = SolidPicture(10, 10, 0x0000FF);
    for (int32_t y = 1; y < 9; ++y)
        for (int32_t x = 1; x < 9; ++x) ring.colours[static_cast<size_t>(y) * 10 + x] = kKey;
    ASSERT_TRUE(SpriteLoad(WriteTestFile("ring.bmp", Bmp24(ring)).c_str(), 21));

    EXPECT_FALSE(SpriteCollide(20, 0, 0, 20, 10, 0)) << "touching on the right";
    EXPECT_FALSE(SpriteCollide(20, 0, 0, 20, 0, 10)) << "touching below";
    EXPECT_TRUE(SpriteCollide(20, 0, 0, 20, 9, 9)) << "one pixel overlaps";
    EXPECT_TRUE(SpriteCollide(20, 0, 0, 20, -9, -9));

    SpriteLoad(WriteTestFile("dot.bmp", Bmp24(SolidPicture(2, 2, 0x00FF00))).c_str(), 22);
    EXPECT_FALSE(SpriteCollide(21, 0, 0, 22, 4, 4)) << "inside the ring's hole";
    EXPECT_TRUE(SpriteCollide(21, 0, 0, 22, 8, 4)) << "on the ring's right edge";
    EXPECT_TRUE(SpriteCollide(22, 4, 9, 21, 0, 0)) << "on the ring's bottom edge, either order";
    EXPECT_FALSE(SpriteCollide(21, 0, 0, 23, 0, 0)) << "an empty slot never collides";
}

TEST(Collision, FramesCollideByTheirOwnCells) {
    StartDrawing();
    // Two 8 x 8 cells side by side: cell 0 opaque, cell 1 transparent.
    TestPicture strip = SolidPicture(16, 8, 0x00FF00);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 8; x < 16; ++x) strip.colours[static_cast<size_t>(y) * 16 + x] = kKey;
    ASSERT_TRUE(SpriteLoad(WriteTestFile("strip.bmp", Bmp24(strip)).c_str(), 30));
    SpriteSetFrameSize(30, 8, 8);
    ASSERT_TRUE(SpriteLoad(WriteTestFile("block.bmp", Bmp24(SolidPicture(4, 4, 0xFF))).c_str(), 31));

    EXPECT_TRUE(FrameCollide(30, 0, 0, 0, 31, 0, 2, 2));
    EXPECT_FALSE(FrameCollide(30, 1, 0, 0, 31, 0, 2, 2)) << "frame 1 is transparent";
    EXPECT_FALSE(FrameCollide(30, 0, 0, 0, 31, 0, 8, 0)) << "the frame is only 8 wide";
    EXPECT_TRUE(SpriteCollide(30, 0, 0, 31, 2, 2));
    EXPECT_FALSE(FrameCollide(30, 2, 0, 0, 31, 0, 2, 2)) << "frames past the image are transparent";
    EXPECT_FALSE(FrameCollide(30, -1, 0, 0, 31, 0, 2, 2));

    SpriteSetFrameSize(30, 40, 8); // wider than the image
    EXPECT_FALSE(FrameCollide(30, 0, 0, 0, 31, 0, 2, 2));

    SpriteBuildMask(31);
    EXPECT_EQ(Gfx2d().masks[31].size(), 16u);
    SpriteLoad(WriteTestFile("block.bmp", Bmp24(SolidPicture(4, 4, 0xFF))).c_str(), 31);
    EXPECT_TRUE(Gfx2d().masks[31].empty()) << "reloading frees the mask";
}
