// The BMP and PNG decoders on files made here: layouts, colour keys, and damaged or hostile headers.
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

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

TEST(BmpDecoder, BitFieldMasksAndTheLargerHeaders) {
    // Channels of 0 or 255 only, so that every mask width holds them exactly.
    TestPicture picture = Picture(3, 2, [](int32_t x, int32_t y) {
        const uint32_t colours[] = {kRed, kGreen, kBlue, kWhite, 0, 0x00FFFF};
        return colours[y * 3 + x];
    });
    struct Case {
        uint32_t header;
        int bits;
        uint32_t compression;
        std::vector<uint32_t> masks; // red, green, blue, alpha
        bool alpha;                  // pixel (0, 0) carries alpha 0x80, the others full alpha
        const char* what;
    };
    for (const Case& c :
         {Case{40, 32, 3, {0xFF000000, 0xFF0000, 0xFF00}, false, "RGBX masks after the info header"},
          Case{108, 32, 3, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, true, "V4 with alpha"},
          Case{108, 32, 3, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, false, "V4, alpha bits all 0"},
          Case{124, 16, 3, {0xF800, 0x7E0, 0x1F, 0}, false, "V5, 5-6-5"},
          Case{40, 16, 0, {}, false, "5-5-5 without masks"}, Case{124, 32, 0, {}, false, "V5, blue, green, red bytes"},
          Case{108, 24, 0, {}, false, "V4, 24 bits"}}) {
        SCOPED_TRACE(c.what);
        std::vector<uint32_t> m = c.masks;
        if (m.empty())
            m = c.bits == 16 ? std::vector<uint32_t>{0x7C00, 0x3E0, 0x1F}
                             : std::vector<uint32_t>{0xFF0000, 0xFF00, 0xFF};
        std::vector<uint8_t> data;
        for (int32_t y = picture.height - 1; y >= 0; --y) {
            for (int32_t x = 0; x < picture.width; ++x) {
                uint32_t colour = picture.At(x, y), pixel = 0;
                for (int ch = 0; ch < 3; ++ch)
                    if (colour >> (8 * ch) & 0xFF) pixel |= m[static_cast<size_t>(ch)];
                if (c.alpha) pixel |= x + y == 0 ? 0x80000000u : 0xFF000000u;
                for (int i = 0; i < c.bits / 8; ++i) data.push_back(static_cast<uint8_t>(pixel >> (8 * i)));
            }
            data.resize((data.size() + 3) / 4 * 4);
        }
        ImageRGBA image;
        ASSERT_TRUE(DecodeBmpBytes(image, BmpRaw(c.header, 3, 2, c.bits, c.compression, c.masks, {}, data)));
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 3; ++x)
                EXPECT_EQ(PixelAt(image, x, y), picture.At(x, y) | (c.alpha && x + y == 0 ? 0x80u : 0xFFu) << 24);
        std::vector<uint32_t> scattered = {0xF0F00000, 0xFF00, 0xFF};
        if (c.compression == 3) {
            EXPECT_FALSE(DecodeBmpBytes(image, BmpRaw(c.header, 3, 2, c.bits, 3, scattered, {}, data)))
                << "a mask whose bits do not lie together";
        }
    }
    // The palette follows a V5 header.
    ImageRGBA image;
    ASSERT_TRUE(DecodeBmpBytes(image, BmpRaw(124, 2, 1, 8, 0, {}, {kGreen, kBlue}, {1, 0, 0, 0})));
    EXPECT_EQ(PixelAt(image, 0, 0), kBlue | 0xFF000000u);
    EXPECT_EQ(PixelAt(image, 1, 0), kGreen | 0xFF000000u);
}

TEST(BmpDecoder, RunLengthsDecodeAndNeverLeaveThePicture) {
    const std::vector<uint32_t> palette = {kRed, kGreen, kBlue, kWhite};
    // Bottom row: a run of four; middle row: four listed indices; top row: one pixel, a jump of two
    // (the skipped pixels keep index 0), one pixel, the end.
    const std::vector<uint8_t> rle8 = {4, 1, 0, 0, 0, 4, 0, 1, 2, 3, 0, 0, 1, 2, 0, 2, 2, 0, 1, 3, 0, 1};
    ImageRGBA image;
    ASSERT_TRUE(DecodeBmpBytes(image, BmpRaw(40, 4, 3, 8, 1, {}, palette, rle8)));
    const uint32_t rows8[3][4] = {
        {kBlue, kRed, kRed, kWhite}, {kRed, kGreen, kBlue, kWhite}, {kGreen, kGreen, kGreen, kGreen}};
    ExpectPicture(image, Picture(4, 3, [&](int32_t x, int32_t y) { return rows8[y][x]; }));
    // Nibbles: a run alternating two indices, then five listed ones padded to a 16-bit word.
    const std::vector<uint8_t> rle4 = {5, 0x12, 0, 0, 0, 5, 0x30, 0x12, 0x30, 0, 0, 1};
    ASSERT_TRUE(DecodeBmpBytes(image, BmpRaw(40, 5, 2, 4, 2, {}, palette, rle4)));
    const uint32_t rows4[2][5] = {{kWhite, kRed, kGreen, kBlue, kWhite}, {kGreen, kBlue, kGreen, kBlue, kGreen}};
    ExpectPicture(image, Picture(5, 2, [&](int32_t x, int32_t y) { return rows4[y][x]; }));

    // ImageMagick's encoder runs over the padded row (5 pixels padded to 8, bottom row first); such
    // files, and runs, listed indices and jumps past the row's end, stop at the row's end.
    const std::vector<uint8_t> plain = {1, 1, 2, 3, 0, 0, 0, 0, 3, 3, 3, 3, 3, 0, 0, 0};
    ImageRGBA uncompressed;
    ASSERT_TRUE(DecodeBmpBytes(uncompressed, BmpRaw(40, 5, 2, 8, 0, {}, palette, plain)));
    struct Clipped {
        int bits;
        std::vector<uint8_t> data;
        const char* what;
    };
    for (const Clipped& c :
         {Clipped{8, {2, 1, 1, 2, 1, 3, 4, 0, 0, 0, 5, 3, 3, 0, 0, 0, 0, 1}, "ImageMagick's RLE8"},
          Clipped{8, {2, 1, 1, 2, 1, 3, 9, 0, 0, 0, 7, 3, 0, 1}, "runs past the row's end"},
          Clipped{8,
                  {0, 6, 1, 1, 2, 3, 0, 2, 0, 0, 0, 7, 3, 3, 3, 3, 3, 0, 0, 0, 0, 2, 9, 0, 0, 1},
                  "listed indices and a jump past the row's end"},
          Clipped{4, {0, 6, 0x11, 0x23, 0x00, 0x00, 0, 0, 8, 0x33, 0, 1}, "nibbles past the row's end"}}) {
        ImageRGBA clipped;
        ASSERT_TRUE(DecodeBmpBytes(clipped, BmpRaw(40, 5, 2, c.bits, c.bits == 8 ? 1 : 2, {}, palette, c.data)))
            << c.what;
        EXPECT_EQ(clipped.pixels, uncompressed.pixels) << c.what;
    }

    const std::vector<uint8_t> before = image.pixels;
    struct Case {
        int bits;
        std::vector<uint8_t> data;
        const char* what;
    };
    for (const Case& c : {Case{8, {0, 2, 0, 3, 0, 1}, "a jump past the top"},
                          Case{8, {0, 0, 0, 0, 0, 0, 1, 1, 0, 1}, "a run above the top row"},
                          Case{8, {4, 1, 0, 0}, "data that ends before the picture"},
                          Case{8, {0, 4, 0, 1}, "listed indices cut short"}}) {
        EXPECT_FALSE(DecodeBmpBytes(image, BmpRaw(40, 4, 3, c.bits, 1, {}, palette, c.data))) << c.what;
        EXPECT_EQ(image.pixels, before) << c.what;
    }
    EXPECT_FALSE(DecodeBmpBytes(image, BmpRaw(40, 4, 3, 4, 1, {}, palette, rle8))) << "8-bit runs in a 4-bit file";
    EXPECT_FALSE(DecodeBmpBytes(image, BmpRaw(40, 30000, 30000, 8, 1, {}, palette, {0, 1})))
        << "a huge picture claimed by two bytes";
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
                   {28, 2, 2, "2 bits"},
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
    // Grey with alpha widens to RGBA.
    ASSERT_TRUE(DecodePngBytes(image, RawPng(2, 1, 8, 4, {{0x80, 0x40, 0x10, 0xFF}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0x40808080u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFF101010u);
}

TEST(PngDecoder, ChunksDeclaringAGigabyteFailWithoutAllocatingIt) {
    // A 1x1 grey header, then a chunk that declares 1 GiB and ends six bytes later.
    std::vector<uint8_t> head = RawPng(1, 1, 8, 0, {{0}});
    head.resize(33);
    ImageRGBA image;
    for (const char* type : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "pCAL", "eXIf", "juNk", "IDAT"}) {
        std::vector<uint8_t> file = head;
        file.insert(file.end(), {0x40, 0, 0, 0});
        file.insert(file.end(), type, type + 4);
        file.insert(file.end(), 6, 0);
        ResetPeakMemory();
        long before = PeakMemoryKb();
        EXPECT_FALSE(DecodePngBytes(image, file)) << type;
        EXPECT_LT(PeakMemoryKb() - before, 16 * 1024) << type;
    }
    // Ancillary chunks of any size in a whole file are skipped, and the picture loads.
    ASSERT_TRUE(DecodePngBytes(image, RawPng(1, 1, 8, 0, {{0x80}}, {{"tEXt", std::vector<uint8_t>(2 << 20, 'x')}})));
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF808080u);
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
