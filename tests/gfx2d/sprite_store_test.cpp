// The sprite store: the edge fill, the mip copy, fonts' slots, normal maps, formats by content, failed
// loads, names in the packed archive.
#include "runtime/core/core.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/sprite_atlas.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

namespace {

// The slot's texel at (x, row) as RGBA; texture rows run bottom-up from the image's last row.
std::vector<uint8_t> Texel(int32_t id, int32_t x, int32_t row) {
    const SpriteSlot& slot = *SlotOf(id);
    std::vector<uint8_t> texels(static_cast<size_t>(slot.texWidth) * slot.texHeight * 4);
    FlushGL();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_2D, slot.texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    auto at = texels.begin() + (static_cast<size_t>(row) * slot.texWidth + x) * 4;
    return {at, at + 4};
}

} // namespace

// A keyed pixel takes the mean of its opaque neighbours, never those on the border rows or columns; a
// font's slot keeps it black and has no atlas cell. The mip copy of a picture checkered in red 200 and
// 0 averages them to 100 when halved to a square, wide or tall; a square's next level keeps its top
// half red apart from its bottom half.
TEST(SpriteStore, EdgeFillFontSlotsMipCopyNormalMapsFormatsFailuresAndNames) {
    StartDrawing();
    TestPicture p = SolidPicture(5, 5, 0x000000);
    // The key at (2, 2) between 0x10 and 0x30, and at (0, 4) on the border with 0x40 beside it.
    for (auto [x, y, colour] :
         {std::tuple(1, 2, 0x10u), {3, 2, 0x30u}, {2, 2, kKey}, {0, 4, kKey}, {0, 3, 0x40}, {1, 4, 0x40}})
        p.At(x, y) = colour;
    for (int32_t id : {3, 65504}) ASSERT_TRUE(LoadPicture(id, p));
    EXPECT_EQ(Texel(3, 2, 2), (std::vector<uint8_t>{(0x10 + 0x30) / 8, 0, 0, 0})) << "mean of eight neighbours";
    EXPECT_EQ(Texel(3, 0, 0), (std::vector<uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(Texel(65504, 2, 2), (std::vector<uint8_t>{0, 0, 0, 0})) << "no edge fill";
    EXPECT_EQ(AtlasCellOf(65504), nullptr);

    for (auto [width, height] : {std::pair{4, 2}, {2, 4}, {4, 4}}) {
        bool square = width == height;
        auto red = [=](int32_t x, int32_t y) { return (square ? y / 2 : (x + y) % 2) ? 0u : 200u; };
        ASSERT_TRUE(LoadPicture(7, Picture(width, height, red)));
        std::vector<uint8_t> texels(2 * 2 * 4);
        FlushGL();
        glBindTexture(GL_TEXTURE_2D, SlotOf(7)->mipTexture);
        glGetTexImage(GL_TEXTURE_2D, square, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (size_t i = 0; i < texels.size(); i += 4)
            EXPECT_EQ(texels[i], !square ? 100 : i < 8 ? 0 : 200) << width << " x " << height << " " << i;
    }

    // Sobel slopes of the blue channel: beside a bright column the normal leans away from it (by
    // 0.97, packed as 3 and 251), on it it faces the viewer (packed as 127).
    using Case = std::tuple<bool, int32_t, int32_t, std::vector<uint8_t>>; // bright column or row, x, row, texel
    for (const auto& [column, x, row, texel] :
         {Case{true, 0, 0, {3, 127, 158, 255}}, Case{true, 1, 3, {127, 127, 255, 255}},
          Case{true, 2, 1, {251, 127, 158, 255}}, Case{false, 0, 1, {127, 251, 158, 255}}, // image row 1: texture row 2
          Case{false, 3, 3, {127, 3, 158, 255}}}) {
        bool bright = column;
        TestPicture lit = Picture(4, 4, [=](int32_t i, int32_t j) { return (bright ? i : j) == 1 ? 0xFF0000u : 0u; });
        ASSERT_TRUE(SpriteLoadNormalMap(WriteTestFile("bright.bmp", Bmp24(lit)).c_str(), 5));
        EXPECT_EQ(Texel(5, x, row), texel) << column << " " << x << "," << row;
    }

    // The format comes from the content; a failed load leaves the slot empty and its frame size; names
    // resolve through the packed archive.
    ASSERT_TRUE(SpriteLoad(WriteTestFile("really-a-bmp.png", Bmp24(SolidPicture(6, 2, 0x10))).c_str(), 4));
    std::string png = ReadFile(CORPUS_PATH "fuzz_png/rgb8.png");
    ASSERT_TRUE(SpriteLoad(WriteTestFile("really-a-png.bmp", {png.begin(), png.end()}).c_str(), 4));
    EXPECT_FALSE(SpriteLoad(WriteTestFile("no-slot.bmp", Bmp24(SolidPicture(2, 2, 0))).c_str(), -1)) << "no such id";

    EXPECT_FALSE(LoadPicture(4, SolidPicture(16385, 1, 0))) << "its texture width, 32768, does not fit the slot";
    SpriteSetFrameSize(4, 2, 2);
    EXPECT_FALSE(SpriteLoad(WriteTestFile("junk.bmp", {'B', 'M', 'x'}).c_str(), 4));
    EXPECT_EQ(SlotOf(4)->texture, 0u);
    SpriteLoadFrames("no-such-file.bmp", 4, 8, 8);
    EXPECT_EQ(SlotOf(4)->frameWidth, 2);
    SpriteLoadFrames(WriteTestFile("frames.bmp", Bmp24(SolidPicture(16, 8, 0x10))).c_str(), 4, 8, 8);
    EXPECT_EQ(SlotOf(4)->frameWidth, 8);

    std::string program = WriteTestFile("packed-program", {0x7F, 'E', 'L', 'F'});
    std::string bmp = WriteTestFile("in-archive.bmp", Bmp24(SolidPicture(7, 3, 0x123456)));
    ASSERT_EQ(std::system((std::string(SBX_PACK_PATH) + " " + program + " " + bmp + " >/dev/null 2>&1").c_str()), 0);
    std::remove(bmp.c_str());
    ArchiveRegister(RuntimeArchive(), program);
    EXPECT_TRUE(SpriteLoad("gfx/IN-ARCHIVE.BMP", 6));
    EXPECT_FALSE(SpriteLoad("gfx/not-there.bmp", 6));
    ArchiveDestroy(RuntimeArchive());
    ArchiveRegister(RuntimeArchive(), "");
}
