// Pixel-exact collisions of whole sprites and of animation frames.
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "tests/gfx2d/test_images.h"

#include <gtest/gtest.h>

TEST(Collision, OpaquePixelsCollideTouchingEdgesAndTransparentPixelsDoNot) {
    StartDrawing();
    ASSERT_TRUE(LoadPicture(20, SolidPicture(10, 10, kGreen)));
    // A 10 x 10 ring: only its one-pixel border is opaque.
    ASSERT_TRUE(LoadPicture(21, Picture(10, 10, [](int32_t x, int32_t y) {
                                return x % 9 == 0 || y % 9 == 0 ? kRed : static_cast<uint32_t>(kKey);
                            })));
    ASSERT_TRUE(LoadPicture(22, SolidPicture(2, 2, kGreen)));

    EXPECT_FALSE(SpriteCollide(20, 0, 0, 20, 10, 0)) << "touching on the right";
    EXPECT_FALSE(SpriteCollide(20, 0, 0, 20, 0, 10)) << "touching below";
    EXPECT_TRUE(SpriteCollide(20, 0, 0, 20, 9, 9)) << "one pixel overlaps";
    EXPECT_TRUE(SpriteCollide(20, 0, 0, 20, -9, -9));
    EXPECT_FALSE(SpriteCollide(21, 0, 0, 22, 4, 4)) << "inside the ring's hole";
    EXPECT_TRUE(SpriteCollide(21, 0, 0, 22, 8, 4)) << "on the ring's right edge";
    EXPECT_TRUE(SpriteCollide(22, 4, 9, 21, 0, 0)) << "on the ring's bottom edge, either order";
    EXPECT_FALSE(SpriteCollide(21, 0, 0, 23, 0, 0)) << "an empty slot never collides";
}

TEST(Collision, FramesCollideByTheirOwnCells) {
    StartDrawing();
    // Two 8 x 8 cells side by side: cell 0 opaque, cell 1 transparent.
    ASSERT_TRUE(LoadPicture(30, Picture(16, 8, [](int32_t x, int32_t) { return x < 8 ? kGreen : kKey; })));
    SpriteSetFrameSize(30, 8, 8);
    ASSERT_TRUE(LoadPicture(31, SolidPicture(4, 4, kRed)));

    EXPECT_TRUE(FrameCollide(30, 0, 0, 0, 31, 0, 2, 2));
    EXPECT_FALSE(FrameCollide(30, 1, 0, 0, 31, 0, 2, 2)) << "frame 1 is transparent";
    EXPECT_FALSE(FrameCollide(30, 0, 0, 0, 31, 0, 8, 0)) << "the frame is only 8 wide";
    EXPECT_TRUE(SpriteCollide(30, 0, 0, 31, 2, 2));
    EXPECT_FALSE(FrameCollide(30, 2, 0, 0, 31, 0, 2, 2)) << "frames past the image are transparent";
    EXPECT_FALSE(FrameCollide(30, -1, 0, 0, 31, 0, 2, 2));
    SpriteSetFrameSize(30, 40, 8); // wider than the image: no columns
    EXPECT_FALSE(FrameCollide(30, 0, 0, 0, 31, 0, 2, 2));

    // A reloaded image gets a fresh mask.
    SpriteBuildMask(31);
    ASSERT_TRUE(LoadPicture(31, SolidPicture(4, 4, kKey)));
    EXPECT_FALSE(SpriteCollide(30, 0, 0, 31, 2, 2));
}
