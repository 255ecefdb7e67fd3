// The BMP and PNG decoders: real pictures read as SDL and libpng read them, the colour key, run lengths,
// and damaged or hostile files.
#include "runtime/gfx2d/bmp_decoder.h"
#include "runtime/gfx2d/png_decoder.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <png.h>
#include <tuple>
#include <zlib.h>

namespace {

const std::string kModels = "/usr/share/assimp/models/";

std::vector<uint8_t> Bytes(const std::string& path) {
    std::string text = ReadFile(path);
    return {text.begin(), text.end()};
}

// A PNG chunk: length, type, data, CRC.
std::vector<uint8_t> Chunk(const std::string& type, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    uint32_t crc = static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())));
    std::vector<uint8_t> out;
    for (uint32_t word : {static_cast<uint32_t>(data.size()), crc}) {
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(word >> shift));
        if (out.size() == 4) out.insert(out.end(), body.begin(), body.end());
    }
    return out;
}

// The PNG with the chunk in place of its header.
std::vector<uint8_t> WithHeader(std::vector<uint8_t> png, const std::vector<uint8_t>& chunk) {
    png.insert(png.erase(png.begin() + 8, png.begin() + 33), chunk.begin(), chunk.end());
    return png;
}

bool DecodeBmpBytes(ImageRGBA& image, const std::vector<uint8_t>& bytes, int32_t key = kKey) {
    return DecodeBmp(image, bytes.data(), bytes.size(), key);
}

bool DecodePngBytes(ImageRGBA& image, const std::vector<uint8_t>& bytes, int32_t key = kKey) {
    return DecodePng(image, bytes.data(), bytes.size(), key, "test.png");
}

uint32_t PixelAt(const ImageRGBA& image, int32_t x, int32_t y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Decoded again with the colour of the first pixel as the key: exactly the pixels of that colour turn
// into transparent black, unless the format ignores the key.
template <class Decode>
void ExpectKeyApplied(Decode decode, const std::vector<uint8_t>& bytes, const ImageRGBA& plain, bool ignored) {
    ImageRGBA keyed;
    ASSERT_TRUE(decode(keyed, bytes, static_cast<int32_t>(PixelAt(plain, 0, 0) & 0xFFFFFF)));
    for (int32_t j = 0; j < plain.height; ++j)
        for (int32_t i = 0; i < plain.width; ++i) {
            bool match = !ignored && (PixelAt(plain, i, j) & 0xFFFFFF) == (PixelAt(plain, 0, 0) & 0xFFFFFF);
            ASSERT_EQ(PixelAt(keyed, i, j), match ? 0u : PixelAt(plain, i, j)) << i << "," << j;
        }
}

} // namespace

// Every depth, header and layout, including run lengths and bit fields, against SDL_LoadBMP; then the
// key. A top-down file loads upside down, as the runtime always did.
TEST(BmpDecoder, PicturesReadAsSdlReadsThem) {
    const std::string corpus = CORPUS_PATH "fuzz_bmp/";
    for (const std::string& path :
         {kModels + "MD2/faerie2.bmp", corpus + "core1.bmp", corpus + "pal1.bmp", corpus + "pal4.bmp",
          corpus + "rgb24.bmp", corpus + "rgb32.bmp", corpus + "rgbx_bitfields.bmp", corpus + "rle4.bmp",
          corpus + "rle8.bmp", corpus + "topdown.bmp", corpus + "v4_rgba32.bmp", corpus + "v5_565.bmp"}) {
        SCOPED_TRACE(path);
        std::vector<uint8_t> bytes = Bytes(path);
        ImageRGBA image;
        ASSERT_TRUE(DecodeBmpBytes(image, bytes, -1));
        SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
        ASSERT_NE(loaded, nullptr) << SDL_GetError();
        SDL_Surface* rgba = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
        ASSERT_EQ(std::pair(image.width, image.height), std::pair(rgba->w, rgba->h));
        bool topDown = bytes[25] & 0x80;
        for (int32_t y = 0; y < image.height; ++y) {
            const uint8_t* row = static_cast<uint8_t*>(rgba->pixels) + (topDown ? rgba->h - 1 - y : y) * rgba->pitch;
            for (int32_t i = 0; i < 4 * image.width; ++i) // SDL widens 6-bit channels to 254
                ASSERT_NEAR(row[i], image.pixels[static_cast<size_t>(y * image.width * 4 + i)], 1) << y << " " << i;
        }
        SDL_FreeSurface(rgba);
        SDL_FreeSurface(loaded);
        ExpectKeyApplied(DecodeBmpBytes, bytes, image, false);
    }
}

TEST(BmpDecoder, RunsStopAtTheRowsEndAndNeverLeaveThePicture) {
    const std::vector<uint32_t> palette = {kRed, kGreen, kBlue, kWhite};
    // ImageMagick's encoder runs over the padded row (5 pixels padded to 8, bottom row first); such
    // files, and runs, listed indices and jumps past the row's end, stop at the row's end.
    ImageRGBA plain;
    ASSERT_TRUE(DecodeBmpBytes(plain, BmpRaw(5, 2, 8, 0, palette, {1, 1, 2, 3, 0, 0, 0, 0, 3, 3, 3, 3, 3, 0, 0, 0})));
    using Case = std::tuple<int, std::vector<uint8_t>, bool, const char*>; // bits, data, loads, what
    // clang-format off
    for (const auto& [bits, data, loads, what] : {
             Case{8, {2, 1, 1, 2, 1, 3, 4, 0, 0, 0, 5, 3, 3, 0, 0, 0, 0, 1}, true, "ImageMagick's RLE8"},
             Case{8, {2, 1, 1, 2, 1, 3, 9, 0, 0, 0, 7, 3, 0, 0}, true, "runs past the row's end, no picture's end"},
             Case{8, {0, 6, 1, 1, 2, 3, 0, 2, 0, 0, 0, 7, 3, 3, 3, 3, 3, 0, 0, 0, 0, 2, 9, 0, 0, 1}, true,
                  "listed indices and a jump past the row's end"},
             Case{4, {0, 6, 0x11, 0x23, 0x00, 0x00, 0, 0, 8, 0x33, 0, 1}, true, "nibbles past the row's end"},
             Case{8, {0, 2, 0, 2, 0, 1}, false, "a jump past the top"},
             Case{8, {0, 0, 0, 0, 1, 1, 0, 1}, false, "a run above the top row"},
             Case{8, {0, 0, 0, 0, 0, 0, 0, 1}, false, "a line's end above the top row"},
             Case{8, {4, 1, 0, 0}, false, "data that ends before the picture"},
             Case{8, {5, 1, 0, 0, 5, 1, 0}, false, "an end of picture missing"},
             Case{8, {0, 4, 0, 1}, false, "listed indices cut short"},
             Case{8, {0, 2, 1}, false, "a jump cut short"},
         }) {
        // clang-format on
        ImageRGBA image = plain;
        EXPECT_EQ(DecodeBmpBytes(image, BmpRaw(5, 2, bits, bits == 8 ? 1 : 2, palette, data)), loads) << what;
        EXPECT_EQ(image.pixels, plain.pixels) << what;
    }
    // Past 4096 x 4096 pixels, a byte of data for every 256 pixels; the data starts with the picture's end.
    for (auto [width, height, bytes, loads] :
         {std::tuple{30000, 30000, 2, false}, {4096, 4096, 2, true}, {4096, 4097, 65552, true}}) {
        std::vector<uint8_t> data(static_cast<size_t>(bytes));
        data[1] = 1;
        ImageRGBA image;
        EXPECT_EQ(DecodeBmpBytes(image, BmpRaw(width, height, 8, 1, palette, data)), loads) << width << " x " << height;
    }
}

TEST(BmpDecoder, DamagedOrHostileHeadersFail) {
    // Its data starts 0, 1: an RLE picture's end, were the compression allowed.
    const std::vector<uint8_t> good = Bmp24(SolidPicture(4, 4, 0x000100));
    const std::vector<uint8_t> fields = Bytes(CORPUS_PATH "fuzz_bmp/rgbx_bitfields.bmp");
    const std::vector<uint8_t> v4 = Bytes(CORPUS_PATH "fuzz_bmp/v4_rgba32.bmp");
    const std::vector<uint8_t> core = Bytes(CORPUS_PATH "fuzz_bmp/core1.bmp");
    ImageRGBA image;
    for (size_t length : {size_t{3}, size_t{50}, good.size() - 1}) // in the file header, the info header, the data
        EXPECT_FALSE(DecodeBmpBytes(image, std::vector<uint8_t>(good.begin(), good.begin() + length))) << length;
    // Four bytes at an offset replaced: file, offset, value, loads, what.
    using Case = std::tuple<const std::vector<uint8_t>*, size_t, uint32_t, bool, const char*>;
    // clang-format off
    for (auto [file, at, value, loads, what] :
         {Case{&good, 0, 'B' | 'N' << 8, false, "not BM"}, {&good, 10, 20, false, "data offset inside the header"},
          {&good, 10, 0x7FFFFFFF, false, "data offset beyond the file"}, {&v4, 14, 64, false, "unknown header size"},
          {&good, 28, 2, false, "2 bits"}, {&good, 28, 8, false, "palette bits, no palette"},
          {&good, 30, 1, false, "RLE8 on 24 bits"}, {&good, 30, 2, false, "RLE4 on 24 bits"},
          {&good, 30, 3, true, "bit fields on 24 bits are read as they stand"}, {&good, 30, 4, false, "JPEG inside"},
          {&good, 18, 0, false, "width 0"}, {&good, 22, 0, false, "height 0"},
          {&good, 22, 0xFFFFFFFC, true, "height -4: top-down"}, {&good, 22, 32767, false, "rows beyond the data"},
          {&fields, 54, 0xF0F00000, false, "a mask whose bits do not lie together"},
          {&fields, 10, 62, false, "masks past the data offset"}, {&fields, 62, 0, true, "a missing channel"},
          {&core, 24, 16, false, "core header of 16 bits"},
          {&core, 24, 8, true, "core header of 8 bits, its palette cut short"}}) {
        // clang-format on
        std::vector<uint8_t> bad = *file;
        for (int i = 0; i < 4; ++i) bad[at + i] = static_cast<uint8_t>(value >> (8 * i));
        EXPECT_EQ(DecodeBmpBytes(image, bad), loads) << what;
    }

    for (auto [w, h, loads] : {std::tuple{32767, 1, true}, {1, 32767, true}, {32768, 1, false}, {1, 32768, false}})
        EXPECT_EQ(DecodeBmpBytes(image, Bmp24(SolidPicture(w, h, kGrey))), loads) << w << " x " << h;

    // Alpha bits 0 in every pixel: loaded opaque. Alpha anywhere: used.
    std::vector<uint8_t> noAlpha = v4;
    for (size_t at = 125; at < noAlpha.size(); at += 4) noAlpha[at] = 0;
    ASSERT_TRUE(DecodeBmpBytes(image, noAlpha, -1));
    for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(PixelAt(image, i % 2, i / 2) >> 24, 255u) << i;
    noAlpha[133] = 0x40;
    ASSERT_TRUE(DecodeBmpBytes(image, noAlpha, -1));
    EXPECT_EQ(std::pair(PixelAt(image, 0, 0) >> 24, PixelAt(image, 1, 1) >> 24), std::pair(0x40u, 0u));

    // Two pixels: an index past the one palette entry reads black; without bit fields 16 bits
    // are 5-5-5 and 32 bits B, G, R and a byte ignored.
    using Pixels = std::tuple<int, std::vector<uint32_t>, std::vector<uint8_t>, uint32_t, uint32_t>;
    for (const auto& [bits, palette, data, left, right] :
         {Pixels{8, {kGreen}, {1, 0, 0, 0}, 0xFF000000u, 0xFF00FF00u},
          Pixels{16, {}, {0x1F, 0x00, 0x00, 0x7E}, 0xFFFF0000u, 0xFF0084FFu},
          Pixels{32, {}, {0x10, 0x20, 0x30, 0x40, 0xFF, 0, 0, 0x81}, 0xFF102030u, 0xFFFF0000u}}) {
        ASSERT_TRUE(DecodeBmpBytes(image, BmpRaw(2, 1, bits, 0, palette, data), -1)) << bits;
        EXPECT_EQ(std::pair(PixelAt(image, 0, 0), PixelAt(image, 1, 0)), std::pair(left, right)) << bits;
    }
}

// Real pictures and every colour type against libpng's own reading into RGBA; then the key: RGB and
// palette pictures use it, grey and alpha pictures ignore it.
TEST(PngDecoder, PicturesReadAsLibpngReadsThem) {
    const std::string corpus = CORPUS_PATH "fuzz_png/";
    // clang-format off
    for (const auto& [path, keyIgnored] :
         {std::pair<std::string, bool>{kModels + "glTF2/BoxTextured-glTF/CesiumLogoFlat.png", false},
          {kModels + "glTF2/textureTransform/Arrow.png", true}, {kModels + "glTF2/textureTransform/Correct.png", false},
          {corpus + "grey1.png", true}, {corpus + "grey8.png", true}, {corpus + "greyalpha.png", true},
          {corpus + "palette4.png", true}}) {
        // clang-format on
        SCOPED_TRACE(path);
        std::vector<uint8_t> bytes = Bytes(path);
        ImageRGBA image;
        ASSERT_TRUE(DecodePngBytes(image, bytes, -1));
        png_image reference{};
        reference.version = PNG_IMAGE_VERSION;
        ASSERT_TRUE(png_image_begin_read_from_memory(&reference, bytes.data(), bytes.size()));
        reference.format = PNG_FORMAT_RGBA;
        std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(reference));
        ASSERT_TRUE(png_image_finish_read(&reference, nullptr, pixels.data(), 0, nullptr));
        ASSERT_EQ(std::pair(image.width, image.height), std::pair(int32_t(reference.width), int32_t(reference.height)));
        ASSERT_EQ(image.pixels, pixels);
        ExpectKeyApplied(DecodePngBytes, bytes, image, keyIgnored);
    }
    // 16 bits a channel keep the high bytes.
    ImageRGBA image;
    ASSERT_TRUE(DecodePngBytes(image, Bytes(corpus + "rgb16.png")));
    EXPECT_EQ(std::pair(PixelAt(image, 0, 0), PixelAt(image, 1, 1)), std::pair(0xFF944A00u, 0xFF7329DFu));
}

TEST(PngDecoder, DamagedHugeAndHostileFilesFailWithoutAllocating) {
    // The header of a 5 x 3 grey picture, then a chunk that declares 1 GiB and ends six bytes later.
    const std::vector<uint8_t> grey = Bytes(CORPUS_PATH "fuzz_png/grey8.png");
    ImageRGBA image;
    for (const char* type : {"tEXt", "zTXt", "iTXt", "iCCP", "sPLT", "pCAL", "eXIf", "juNk", "IDAT"}) {
        std::string chunk = std::string("\x40\0\0\0", 4) + type + std::string(6, '\0');
        std::vector<uint8_t> file(grey.begin(), grey.begin() + 33);
        file.insert(file.end(), chunk.begin(), chunk.end());
        ResetPeakMemory();
        long before = PeakMemoryKb();
        EXPECT_FALSE(DecodePngBytes(image, file)) << type;
        EXPECT_LT(PeakMemoryKb() - before, 16 * 1024) << type;
    }

    // Cut anywhere, or a header claiming a picture beyond the sprite's 16 bits or beyond what the data
    // could inflate to: false, and nothing allocated for the picture.
    std::vector<uint8_t> good = Bytes(CORPUS_PATH "fuzz_png/rgb8.png");
    for (size_t cut : {size_t{0}, size_t{8}, size_t{30}, good.size() / 2, good.size() - 13})
        EXPECT_FALSE(DecodePngBytes(image, std::vector<uint8_t>(good.begin(), good.begin() + cut))) << cut;
    for (uint8_t high : {0x00, 0x75, 0x80, 0x9C}) { // sides of 4 (as it is), 30000, 32816, 39984
        uint8_t low = high ? 0x30 : 4;
        std::vector<uint8_t> header = {0, 0, high, low, 0, 0, high, low, 8, 2, 0, 0, 0};
        ImageRGBA fresh;
        EXPECT_EQ(DecodePngBytes(fresh, WithHeader(good, Chunk("IHDR", header))), high == 0) << int{high};
        EXPECT_EQ(fresh.pixels.empty(), high != 0);
    }
}
