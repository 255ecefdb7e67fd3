// The BMP and PNG writers: header fields, row padding, row order, the key colour, replacing files.
#include "platform/paths.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/png_decoder.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

// A 3 x 2 picture kept in a 4-pixel pitch; bottom row first, B, G, R.
struct Sample {
    std::vector<uint8_t> bgr = {
        1,  2,  3,  4,  5,  6,  128, 0,  255, 9, 9, 9, // bottom row: two colours and the key
        10, 20, 30, 40, 50, 60, 70,  80, 90,  9, 9, 9, // top row
    };
    BgrPicture Picture(uint32_t key) const { return {bgr.data(), 3, 2, 4, key}; }
};

constexpr uint32_t kStoredKey = 255u << 24 | 0 << 16 | 128 << 8;

} // namespace

TEST(ImageWriter, BmpHeaderPaddingRowsAndKey) {
    Sample s;
    std::vector<uint8_t> bmp = EncodeBmp(s.Picture(kStoredKey));
    // What the tests' own BMP writer makes (3-pixel rows padded to 12 bytes), at 10000 pixels a metre.
    TestPicture picture{3, 2, {0x0A141E, 0x28323C, 0x46505A, 0x010203, 0x040506, kKey}};
    std::vector<uint8_t> expected = Bmp24(picture);
    for (size_t at : {38u, 42u}) {
        expected[at] = 10000 & 0xFF;
        expected[at + 1] = 10000 >> 8;
    }
    EXPECT_EQ(bmp, expected);

    // A pixel that shows the stored key is written as the canonical key colour.
    s.bgr[0] = s.bgr[1] = s.bgr[2] = 7;
    std::vector<uint8_t> keyed = EncodeBmp(s.Picture(7u << 24 | 7u << 16 | 7u << 8));
    EXPECT_EQ(std::vector<uint8_t>(keyed.begin() + 54, keyed.begin() + 57), (std::vector<uint8_t>{128, 0, 255}));
}

TEST(ImageWriter, PngIsTopRowFirstWithKeyPixelsTransparent) {
    Sample s;
    ImageRGBA image;
    std::vector<uint8_t> png = EncodePng(s.Picture(kStoredKey));
    ASSERT_TRUE(DecodePng(image, png.data(), png.size(), -1, "test.png"));
    ASSERT_EQ(std::pair(image.width, image.height), std::pair(3, 2));
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.begin(), image.pixels.begin() + 24),
              (std::vector<uint8_t>{30, 20, 10, 255, 60, 50, 40, 255, 90,  80, 70,  255, //
                                    3,  2,  1,  255, 6,  5,  4,  255, 255, 0,  128, 0}));
    png = EncodePng(s.Picture(0));
    ASSERT_TRUE(DecodePng(image, png.data(), png.size(), -1, "test.png"));
    EXPECT_EQ(image.pixels[23], 255) << "without a key every pixel is opaque";
}

TEST(ImageWriter, OldFilesAreReplacedAndBadTargetsFail) {
    Sample s;
    std::string dir = platform::TempDir();
    // Backslashes from programs are folder separators; a longer old file is replaced, not overwritten.
    std::string path = dir + "replaced.bmp";
    std::string filler(5000, 'x');
    ASSERT_TRUE(ImageWrite(path, {reinterpret_cast<const uint8_t*>(filler.data()), 40, 40, 40, 0}));
    ASSERT_TRUE(ImageWrite(dir.substr(0, dir.size() - 1) + "\\replaced.bmp", s.Picture(0)));
    EXPECT_EQ(ReadFile(path).size(), 54u + 24);

    EXPECT_FALSE(ImageWrite(dir + "no/such/folder.bmp", s.Picture(0)));
    EXPECT_FALSE(ImageWrite(dir + "empty.bmp", {s.bgr.data(), 0, 2, 4, 0}));
}
