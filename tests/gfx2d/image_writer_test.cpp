// The BMP writer's bytes against the tests' own BMP, the key colour, and replacing files; the PNG
// writer is read back in the surfaces tests.
#include "platform/paths.h"
#include "runtime/gfx2d/image_writer.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>

// A 3 x 2 picture kept in a 4-pixel pitch, bottom row first, B, G, R; its bottom row holds the key.
TEST(ImageWriter, BmpBytesPaddingRowsAndKey) {
    std::vector<uint8_t> bgr = {1, 2, 3, 4, 5, 6, 128, 0, 255, 9, 9, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90, 9, 9, 9};
    const BgrPicture picture{bgr.data(), 3, 2, 4, 255u << 24 | 128u << 8};
    // 3-pixel rows padded to 12 bytes, at 10000 pixels a metre.
    std::vector<uint8_t> expected = Bmp24({3, 2, {0x0A141E, 0x28323C, 0x46505A, 0x010203, 0x040506, kKey}});
    for (size_t at : {38u, 42u}) {
        expected[at] = 10000 & 0xFF;
        expected[at + 1] = 10000 >> 8;
    }
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
}
