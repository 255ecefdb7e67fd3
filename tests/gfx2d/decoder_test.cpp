// The BMP and PNG decoders on files made here: layouts, colour keys, and damaged or hostile headers.
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"
#include "tests/gfx2d/test_images.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

constexpr int32_t kKey = 0x8000FF;

uint32_t PixelAt(const ImageRGBA& image, int32_t x, int32_t y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TestPicture Gradient(int32_t width, int32_t height) {
    TestPicture p = SolidPicture(width, height, 0);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) p.colours[static_cast<size_t>(y) * width + x] = 0x010203u * (x + 7 * y);
    return p;
}

bool DecodeBmpBytes(ImageRGBA& image, const std::vector<uint8_t>& bytes, int32_t key = kKey) {
    return DecodeBmp(image, bytes.data(), bytes.size(), key);
}

bool DecodePngBytes(ImageRGBA& image, const std::vector<uint8_t>& bytes, int32_t key = kKey) {
    return DecodePng(image, bytes.data(), bytes.size(), key, "test.png");
}

void Store32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

TEST(BmpDecoder, ReadsEveryBitCountTopRowFirstWithTheKeyTransparent) {
    TestPicture picture = Gradient(5, 3);
    picture.colours[6] = kKey;
    ImageRGBA image;
    ASSERT_TRUE(DecodeBmpBytes(image, Bmp24(picture)));
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(PixelAt(image, x, y), x == 1 && y == 1 ? 0u : picture.At(x, y) | 0xFF000000u) << x << "," << y;
    ASSERT_TRUE(DecodeBmpBytes(image, Bmp24(picture), -1));
    EXPECT_EQ(PixelAt(image, 1, 1), kKey | 0xFF000000u) << "-1 means no key";

    std::vector<uint32_t> palette = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    TestPicture indexed = SolidPicture(11, 3, palette[0]);
    for (size_t i = 0; i < indexed.colours.size(); ++i) indexed.colours[i] = palette[i % 2 + (i / 11 == 1 ? 2 : 0)];
    for (int bits : {1, 4, 8}) {
        std::vector<uint32_t> used(palette.begin(), palette.begin() + (bits == 1 ? 2 : 4));
        TestPicture p = indexed;
        if (bits == 1)
            for (uint32_t& c : p.colours) c = c == palette[2] ? palette[0] : c == palette[3] ? palette[1] : c;
        ASSERT_TRUE(DecodeBmpBytes(image, BmpPalette(p, bits, used))) << bits;
        for (int32_t y = 0; y < 3; ++y)
            for (int32_t x = 0; x < 11; ++x) EXPECT_EQ(PixelAt(image, x, y), p.At(x, y) | 0xFF000000u) << bits;
    }
}

TEST(BmpDecoder, NegativeHeightLoadsUpsideDown) {
    TestPicture picture = Gradient(3, 4);
    ImageRGBA image;
    ASSERT_TRUE(DecodeBmpBytes(image, Bmp24(picture, true)));
    EXPECT_EQ(image.height, 4);
    EXPECT_EQ(PixelAt(image, 2, 0), picture.At(2, 3) | 0xFF000000u);
    EXPECT_EQ(PixelAt(image, 0, 3), picture.At(0, 0) | 0xFF000000u);
}

TEST(BmpDecoder, CoreHeaderFilesLoad) {
    // 12-byte header, 2-entry palette of 3 bytes, one 1-bit row of 2 pixels.
    std::vector<uint8_t> bytes = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 32,  0,   0, 0, 12,   0, 0, 0,
                                  2,   0,   1, 0, 1, 0, 1, 0, 0, 0, 255, 255, 0, 0, 0x40, 0, 0, 0};
    ImageRGBA image;
    ASSERT_TRUE(DecodeBmpBytes(image, bytes));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFFFF0000u);
}

TEST(BmpDecoder, DamagedOrHostileHeadersFail) {
    std::vector<uint8_t> good = Bmp24(Gradient(4, 4));
    ImageRGBA image;
    auto fails = [&](std::vector<uint8_t> bytes, const char* what) {
        EXPECT_FALSE(DecodeBmpBytes(image, bytes)) << what;
    };
    fails({}, "empty");
    fails({'B', 'M', 1}, "cut in the file header");
    fails(std::vector<uint8_t>(good.begin(), good.end() - 1), "pixel data one byte short");
    std::vector<uint8_t> bad = good;
    Store32(bad, 10, 0x7FFFFFFF);
    fails(bad, "data offset beyond the file");
    bad = good;
    Store32(bad, 10, 20);
    fails(bad, "data offset inside the header");
    bad = good;
    Store32(bad, 14, 64);
    fails(bad, "unknown header size");
    bad = good;
    bad[28] = 16;
    fails(bad, "16 bits");
    bad = good;
    Store32(bad, 30, 1);
    fails(bad, "run-length compression");
    bad = good;
    Store32(bad, 18, 40000);
    fails(bad, "side above 32767");
    bad = good;
    Store32(bad, 18, 0x7FFFFFFF);
    Store32(bad, 22, 0x80000000u);
    fails(bad, "sides whose product overflows");
    bad = good;
    bad[28] = 8;
    fails(bad, "palette bits without a palette");
    bad = good;
    Store32(bad, 30, 3);
    EXPECT_TRUE(DecodeBmpBytes(image, bad)) << "bit-field files still load";
}

TEST(BmpDecoder, PaletteIndexesBeyondThePaletteReadBlack) {
    TestPicture picture = SolidPicture(2, 1, 0x00FF00);
    std::vector<uint8_t> bytes = BmpPalette(picture, 8, {0x00FF00});
    bytes.back() = 0;
    bytes[bytes.size() - 4] = 200; // the first pixel's index, far past the one palette entry
    ImageRGBA image;
    ASSERT_TRUE(DecodeBmpBytes(image, bytes));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFF00FF00u);
}

TEST(PngDecoder, GreyIgnoresTheKeyRgbUsesItRgbaKeepsItsAlpha) {
    ImageRGBA image;
    TestPicture grey = SolidPicture(3, 2, 0xFF);
    ASSERT_TRUE(DecodePngBytes(image, Png(grey, PngKind::Grey), 0xFFFFFF));
    EXPECT_EQ(PixelAt(image, 2, 1), 0xFFFFFFFFu) << "grey loads opaque even in the key colour";

    TestPicture rgb = Gradient(4, 3);
    rgb.colours[5] = kKey;
    ASSERT_TRUE(DecodePngBytes(image, Png(rgb, PngKind::Rgb)));
    EXPECT_EQ(PixelAt(image, 1, 1), 0u);
    EXPECT_EQ(PixelAt(image, 3, 2), rgb.At(3, 2) | 0xFF000000u);

    std::vector<uint8_t> alphas(12, 200);
    alphas[0] = 0;
    ASSERT_TRUE(DecodePngBytes(image, Png(rgb, PngKind::Rgba, alphas)));
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
    EXPECT_EQ(PixelAt(image, 2, 0), 0x000000FFu);
    // 16-bit RGB keeps the high bytes.
    ASSERT_TRUE(DecodePngBytes(image, RawPng(1, 1, 16, 2, {{0x12, 0xFF, 0x34, 0xFF, 0x56, 0xFF}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF563412u);
    // 1-bit grey widens to 0 and 255.
    ASSERT_TRUE(DecodePngBytes(image, RawPng(2, 1, 1, 0, {{0x40}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF000000u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFFFFFFFFu);
    EXPECT_FALSE(DecodePngBytes(image, RawPng(1, 1, 8, 4, {{0x80, 0xFF}}))) << "grey with alpha is not read";
}

TEST(PngDecoder, DamagedFilesFailWithoutCrashing) {
    std::vector<uint8_t> good = Png(Gradient(16, 16), PngKind::Rgb);
    ImageRGBA image;
    for (size_t cut : {size_t{0}, size_t{8}, size_t{30}, good.size() / 2, good.size() - 13})
        EXPECT_FALSE(DecodePngBytes(image, std::vector<uint8_t>(good.begin(), good.begin() + cut))) << cut;
    std::vector<uint8_t> corrupt = good;
    corrupt[good.size() / 2] ^= 0xFF;
    EXPECT_FALSE(DecodePngBytes(image, corrupt));
    EXPECT_FALSE(DecodePngBytes(image, Bmp24(Gradient(2, 2))));
}

TEST(PngDecoder, HugeSidesAreRefusedBeforeAnythingIsAllocated) {
    ImageRGBA image;
    for (uint32_t side : {30000u, 40000u}) {
        std::vector<uint8_t> bytes = Png(SolidPicture(1, 1, 0), PngKind::Rgb);
        // IHDR's width and height (big-endian), then its CRC over type and data.
        for (size_t at : {size_t{16}, size_t{20}})
            for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(side >> (24 - 8 * i));
        uint32_t crc = static_cast<uint32_t>(crc32(0, &bytes[12], 17));
        for (int i = 0; i < 4; ++i) bytes[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        EXPECT_FALSE(DecodePngBytes(image, bytes)) << side;
        EXPECT_TRUE(image.pixels.empty()) << side;
    }
}
