// The BMP and PNG decoders on files made here: layouts, colour keys, and damaged or hostile headers.
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"
#include "tests/gfx2d/test_images.h"

#include <gtest/gtest.h>

namespace {

uint32_t PixelAt(const ImageRGBA& image, int32_t x, int32_t y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TestPicture Gradient(int32_t width, int32_t height) {
    return Picture(width, height, [](int32_t x, int32_t y) { return 0x010203u * static_cast<uint32_t>(x + 7 * y); });
}

bool DecodeBmpBytes(ImageRGBA& image, const std::vector<uint8_t>& bytes, int32_t key = kKey) {
    return DecodeBmp(image, bytes.data(), bytes.size(), key);
}

bool DecodePngBytes(ImageRGBA& image, const std::vector<uint8_t>& bytes, int32_t key = kKey) {
    return DecodePng(image, bytes.data(), bytes.size(), key, "test.png");
}

// Every pixel opaque in the picture's colour, except where the picture holds the key.
void ExpectPicture(const ImageRGBA& image, const TestPicture& p) {
    ASSERT_EQ(image.width, p.width);
    ASSERT_EQ(image.height, p.height);
    for (int32_t y = 0; y < p.height; ++y)
        for (int32_t x = 0; x < p.width; ++x)
            EXPECT_EQ(PixelAt(image, x, y), p.At(x, y) == kKey ? 0u : p.At(x, y) | 0xFF000000u) << x << "," << y;
}

} // namespace

TEST(BmpDecoder, EveryBitCountAndRowOrderWithTheKeyTransparent) {
    ImageRGBA image;
    TestPicture picture = Gradient(5, 3);
    picture.At(1, 1) = kKey;
    ASSERT_TRUE(DecodeBmpBytes(image, Bmp24(picture)));
    ExpectPicture(image, picture);
    ASSERT_TRUE(DecodeBmpBytes(image, Bmp24(picture), -1));
    EXPECT_EQ(PixelAt(image, 1, 1), kKey | 0xFF000000u) << "-1 means no key";

    // A top-down file (negative height) loads upside down.
    picture = Gradient(3, 4);
    ASSERT_TRUE(DecodeBmpBytes(image, Bmp24(picture, true)));
    ExpectPicture(image, Picture(3, 4, [&](int32_t x, int32_t y) { return picture.At(x, 3 - y); }));

    std::vector<uint32_t> palette = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    for (int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        // Odd widths leave part of the last byte of each row unused.
        picture = Picture(11, 3, [&](int32_t x, int32_t y) { return palette[x % 2 + (bits > 1 && y == 1 ? 2 : 0)]; });
        ASSERT_TRUE(DecodeBmpBytes(image, BmpPalette(picture, bits, palette)));
        ExpectPicture(image, picture);
    }

    // 12-byte core header, 2-entry palette of 3 bytes, one 1-bit row of 2 pixels.
    std::vector<uint8_t> core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32,  0,   0, 0, 12,   0, 0, 0,
                                 2,   0,   1, 0, 1, 0, 1, 0, 0, 0, 255, 255, 0, 0, 0x40, 0, 0, 0};
    ASSERT_TRUE(DecodeBmpBytes(image, core));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFFFF0000u);
}

TEST(BmpDecoder, DamagedOrHostileHeadersFail) {
    const std::vector<uint8_t> good = Bmp24(Gradient(4, 4));
    ImageRGBA image;
    EXPECT_FALSE(DecodeBmpBytes(image, {}));
    EXPECT_FALSE(DecodeBmpBytes(image, {'B', 'M', 1})) << "cut in the file header";
    EXPECT_FALSE(DecodeBmpBytes(image, std::vector<uint8_t>(good.begin(), good.end() - 1))) << "data one byte short";
    struct Case {
        size_t at;
        uint32_t value;
        int bytes;
        const char* what;
    };
    for (Case c : {Case{10, 0x7FFFFFFF, 4, "data offset beyond the file"},
                   {10, 20, 4, "data offset inside the header"},
                   {14, 64, 4, "unknown header size"},
                   {28, 16, 2, "16 bits"},
                   {28, 8, 2, "palette bits, no palette"},
                   {30, 1, 4, "run-length compression"},
                   {18, 40000, 4, "side above 32767"},
                   {22, 0x80000000u, 4, "the most negative height"},
                   {22, 32767, 4, "rows beyond the data"}}) {
        std::vector<uint8_t> bad = good;
        for (int i = 0; i < c.bytes; ++i) bad[c.at + i] = static_cast<uint8_t>(c.value >> (8 * i));
        EXPECT_FALSE(DecodeBmpBytes(image, bad)) << c.what;
    }
    std::vector<uint8_t> bitFields = good;
    bitFields[30] = 3;
    EXPECT_TRUE(DecodeBmpBytes(image, bitFields)) << "bit-field files still load";

    // A palette index far past the one palette entry reads black.
    std::vector<uint8_t> indexed = BmpPalette(SolidPicture(2, 1, kGreen), 8, {kGreen});
    indexed[indexed.size() - 4] = 200;
    ASSERT_TRUE(DecodeBmpBytes(image, indexed));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFF00FF00u);
}

TEST(PngDecoder, GreyIgnoresTheKeyRgbUsesItRgbaKeepsItsAlpha) {
    ImageRGBA image;
    ASSERT_TRUE(DecodePngBytes(image, Png(SolidPicture(3, 2, 0xFF), 0), 0xFFFFFF));
    EXPECT_EQ(PixelAt(image, 2, 1), 0xFFFFFFFFu) << "grey loads opaque even in the key colour";

    TestPicture rgb = Gradient(4, 3);
    rgb.At(1, 1) = kKey;
    ASSERT_TRUE(DecodePngBytes(image, Png(rgb, 2)));
    ExpectPicture(image, rgb);

    std::vector<uint8_t> alphas(12, 200);
    alphas[0] = 0;
    ASSERT_TRUE(DecodePngBytes(image, Png(rgb, 6, alphas)));
    EXPECT_EQ(PixelAt(image, 1, 1), kKey | 200u << 24) << "RGBA ignores the key";
    EXPECT_EQ(PixelAt(image, 0, 0), rgb.At(0, 0));
}

TEST(PngDecoder, PalettesTransparencySixteenBitsAndGreyAlpha) {
    ImageRGBA image;
    // 4-bit palette of red and green, the first entry transparent through tRNS.
    std::vector<uint8_t> palette = {255, 0, 0, 0, 255, 0};
    ASSERT_TRUE(DecodePngBytes(image, RawPng(3, 1, 4, 3, {{0x01, 0x00}}, {{"PLTE", palette}, {"tRNS", {0}}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0x000000FFu);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFF00FF00u);
    // 16-bit RGB keeps the high bytes.
    ASSERT_TRUE(DecodePngBytes(image, RawPng(1, 1, 16, 2, {{0x12, 0xFF, 0x34, 0xFF, 0x56, 0xFF}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF563412u);
    // 1-bit grey widens to 0 and 255.
    ASSERT_TRUE(DecodePngBytes(image, RawPng(2, 1, 1, 0, {{0x40}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFFFFFFFFu);
    EXPECT_FALSE(DecodePngBytes(image, RawPng(1, 1, 8, 4, {{0x80, 0xFF}}))) << "grey with alpha is not read";
}

TEST(PngDecoder, DamagedAndHugeFilesFailWithoutCrashingOrAllocating) {
    std::vector<uint8_t> good = Png(Gradient(16, 16), 2);
    ImageRGBA image;
    for (size_t cut : {size_t{0}, size_t{8}, size_t{30}, good.size() / 2, good.size() - 13})
        EXPECT_FALSE(DecodePngBytes(image, std::vector<uint8_t>(good.begin(), good.begin() + cut))) << cut;
    good[good.size() / 2] ^= 0xFF;
    EXPECT_FALSE(DecodePngBytes(image, good));
    EXPECT_FALSE(DecodePngBytes(image, Bmp24(Gradient(2, 2))));
    for (int32_t side : {30000, 40000}) {
        ImageRGBA fresh;
        EXPECT_FALSE(DecodePngBytes(fresh, RawPng(side, side, 8, 2, {}))) << side;
        EXPECT_TRUE(fresh.pixels.empty()) << side;
    }
}
