// Pixel-exact collisions of whole sprites and of animation frames.
#include "runtime/gfx2d/gfx2d.h"
#include "tests/gfx2d/test_images.h"

#include <gtest/gtest.h>
#include <tuple>

// 20: 10 x 10 opaque in 4 x 4 frames, which only frame collisions use; 21: a 10 x 10 ring, only its
// one-pixel border opaque, in frames wider than it (so no columns); 22: 2 x 2 opaque; 23: empty;
// 30: two 8 x 8 frames side by side, frame 0 opaque, frame 1 transparent; 31: 4 x 4 opaque.
TEST(Collision, OpaquePixelsOfSpritesAndFramesCollideAndTouchingEdgesDoNot) {
    StartDrawing();
    ASSERT_TRUE(LoadPicture(20, SolidPicture(10, 10, kGreen)));
    ASSERT_TRUE(LoadPicture(21, Picture(10, 10, [](int32_t x, int32_t y) {
                                return x % 9 == 0 || y % 9 == 0 ? kRed : static_cast<uint32_t>(kKey);
                            })));
    SpriteSetFrameSize(20, 4, 4);
    SpriteSetFrameSize(21, 40, 8);
    ASSERT_TRUE(LoadPicture(22, SolidPicture(2, 2, kGreen)));
    ASSERT_TRUE(LoadPicture(30, Picture(16, 8, [](int32_t x, int32_t) { return x < 8 ? kGreen : kKey; })));
    SpriteSetFrameSize(30, 8, 8);
    ASSERT_TRUE(LoadPicture(31, SolidPicture(4, 4, kKey)));
    SpriteBuildMask(31);
    ASSERT_TRUE(LoadPicture(31, SolidPicture(4, 4, kRed))); // a reloaded image gets a fresh mask
    // Sprite and frame, at (x, y), for each of the two; by frame; a hit; the case.
    for (auto [id1, frame1, x1, y1, id2, frame2, x2, y2, frames, hit, what] :
         {std::tuple{20, 0, 0, 0, 20, 0, 10, 0, false, false, "touching on the right"},
          {20, 0, 0, 0, 20, 0, 9, 9, false, true, "one pixel overlaps"},
          {21, 0, 0, 0, 22, 0, 4, 4, false, false, "inside the ring's hole"},
          {21, 0, 0, 0, 22, 0, 8, 4, false, true, "on the ring's right edge"},
          {22, 0, 4, 9, 21, 0, 0, 0, false, true, "on the ring's bottom edge, either order"},
          {21, 0, 0, 0, 23, 0, 0, 0, false, false, "an empty slot"},
          {30, 0, 0, 0, 31, 0, 2, 2, true, true, "frame 0"},
          {30, 1, 0, 0, 31, 0, 2, 2, true, false, "frame 1 is transparent"},
          {30, 0, 0, 0, 31, 0, 8, 0, true, false, "the frame is only 8 wide"},
          {30, 2, 0, 0, 31, 0, 2, 2, true, false, "frames past the image are transparent"},
          {20, 0, 0, 0, 22, 0, 6, 6, true, false, "frame 0 of 20 ends at 4"},
          {21, 0, 0, 0, 31, 0, 0, 0, true, false, "no columns"}}) {
        bool collide = frames ? FrameCollide(id1, frame1, x1, y1, id2, frame2, x2, y2)
                              : SpriteCollide(id1, x1, y1, id2, x2, y2);
        EXPECT_EQ(collide, hit) << what;
    }
}
