// Fonts: numbers and clamping, the built-in fallback, the glyph grids, where text lands, the colour
// key of font files, and the loading text of start-up.
#include "runtime/core/core.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/image_writer.h"
#include "runtime/gfx2d/surfaces.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

constexpr uint32_t kOutline = 0x080808;

class FontTest : public testing::Test {
  protected:
    void SetUp() override {
        StartDrawing();
        Gfx2d().fontColourKey = 0; // as at start-up
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override {
        SetColourKey(0x8000FF);
        Gfx2d().fontColourKey = 0;
        FontSelect(0);
    }
};

// A BMP of the given size filled with `fill`, with `paint` setting single pixels (x, y from the top).
std::string WriteFontFile(const std::string& name, int w, int h, uint32_t fill,
                          std::initializer_list<std::array<int, 3>> paint = {}) {
    std::vector<uint8_t> bgr(static_cast<size_t>(w) * h * 3);
    auto put = [&](int x, int y, uint32_t c) {
        uint8_t* p = &bgr[(static_cast<size_t>(h - 1 - y) * w + x) * 3];
        p[0] = c >> 16 & 0xFF;
        p[1] = c >> 8 & 0xFF;
        p[2] = c & 0xFF;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(x, y, fill);
    for (const auto& p : paint) put(p[0], p[1], static_cast<uint32_t>(p[2]));
    return WriteTestFile(name, EncodeBmp({bgr.data(), w, h, w, 0}));
}

void ExpectCellSize(int32_t w, int32_t h) {
    int32_t cw = -1, ch = -1;
    FontGetSize(cw, ch);
    EXPECT_EQ(cw, w);
    EXPECT_EQ(ch, h);
    double dw = -1, dh = -1;
    FontGetSize(dw, dh);
    EXPECT_EQ(dw, w);
    EXPECT_EQ(dh, h);
}

} // namespace

TEST_F(FontTest, NumbersAreClampedAndAMissingFileGivesTheBuiltInFontSelected) {
    FontSelect(40);
    EXPECT_EQ(Fonts().currentFont, 31);
    FontSelect(-3);
    EXPECT_EQ(Fonts().currentFont, 0);

    FontLoad("no such font.bmp", 3);
    EXPECT_EQ(Fonts().currentFont, 3);
    const SpriteSlot& slot = *SlotOf(kFirstFontSprite + 3);
    EXPECT_EQ(slot.width, 128);
    EXPECT_EQ(slot.height, 64);
    EXPECT_EQ(slot.texWidth, 128);
    EXPECT_EQ(slot.texHeight, 64);
    EXPECT_NE(slot.texture, 0u);
    ExpectCellSize(8, 8);

    FontLoad("", 99);
    EXPECT_EQ(Fonts().currentFont, 31);
    // Pictures too small for 16 x 8 cells of at least one pixel fall back as well.
    FontLoad(WriteFontFile("tiny.bmp", 15, 40, 0xFFFFFF).c_str(), 4);
    ExpectCellSize(8, 8);
}

TEST_F(FontTest, PictureSizeChoosesTheGrid) {
    FontLoad(WriteFontFile("wide.bmp", 256, 128, 0).c_str(), 5);
    ExpectCellSize(16, 16);
    FontLoad(WriteFontFile("square.bmp", 256, 256, 0).c_str(), 5);
    ExpectCellSize(16, 16);
    FontLoad(WriteFontFile("tall.bmp", 128, 256, 0).c_str(), 5);
    ExpectCellSize(8, 16);
    // A 256-glyph font shows byte 0xC4 as its own glyph: cell column 4, row 12.
    FontLoad(WriteFontFile("tall2.bmp", 128, 256, 0, {{4 * 8 + 2, 12 * 16 + 3, 0x00FF00}}).c_str(), 5);
    TextPrint("\xC4", 40, 40);
    EXPECT_EQ(BackBufferPixel(42, 43), 0x00FF00u);
}

TEST_F(FontTest, TextLandsOnCeiledCellsAndEveryByteDrawsItsCell) {
    FontLoad("", 0);
    // "A" then "B" at (10.2, 5): cells at x = 11 and 19; glyph pixels start one pixel into the cell.
    TextPrint("AB", 10.2, 5);
    EXPECT_EQ(BackBufferPixel(11, 6), kBlue) << "the cell's first column is transparent";
    EXPECT_EQ(BackBufferPixel(12, 6), kOutline);
    EXPECT_EQ(BackBufferPixel(13, 6), kWhite) << "top bar of the A";
    EXPECT_EQ(BackBufferPixel(14, 7), kOutline) << "inside the A";
    EXPECT_EQ(BackBufferPixel(13, 5), kOutline);
    EXPECT_EQ(BackBufferPixel(13, 4), kBlue);
    EXPECT_EQ(BackBufferPixel(20, 6), kOutline);
    EXPECT_EQ(BackBufferPixel(21, 6), kWhite) << "top of the B";
    EXPECT_EQ(BackBufferPixel(23, 6), kOutline);

    // In a 128-glyph font byte 0xC4 draws glyph 0x44 ("D"); a tab draws its (empty) cell and moves on.
    TextPrint("\xC4", 40, 20);
    TextPrint("D", 60, 20);
    TextPrint("\tD", 72, 20);
    for (int y = 20; y < 28; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(BackBufferPixel(40 + x, y), BackBufferPixel(60 + x, y)) << x << "," << y;
            EXPECT_EQ(BackBufferPixel(80 + x, y), BackBufferPixel(60 + x, y)) << x << "," << y;
        }

    TextPrintNumber(12.5, 10, 40);
    TextPrint(RtString(12.5), 10, 50);
    for (int x = 10; x < 50; ++x)
        for (int y = 0; y < 8; ++y) EXPECT_EQ(BackBufferPixel(x, 40 + y), BackBufferPixel(x, 50 + y));

    // One vertex buffer, grown to 512 vertices and then in steps of 128.
    TextPrint("x", 0, 400);
    EXPECT_EQ(Fonts().textVertices.capacity(), 512u);
    TextPrint(RtString(std::string(1000, 'x')), 0, 400);
    EXPECT_EQ(Fonts().textVertices.capacity(), 4096u);
    TextPrint("", 0, 0);
    EXPECT_EQ(Fonts().textVertices.capacity(), 4096u);
}

TEST_F(FontTest, FontFilesUseTheFontColourKeyOfTheirLoadTime) {
    // Black background, one red pixel in the cell of "A" (column 1, row 4 of 16 x 16 cells).
    std::string black = WriteFontFile("keyed.bmp", 256, 128, 0, {{16 + 3, 64 + 3, 0x0000FF}});
    FontLoad(black.c_str(), 6);
    TextPrint("A", 100, 100);
    EXPECT_EQ(BackBufferPixel(103, 103), 0x0000FFu);
    EXPECT_EQ(BackBufferPixel(104, 103), kBlue) << "black is the font key";

    SetColourKey(0x00FF00);
    std::string green = WriteFontFile("green.bmp", 256, 128, 0x00FF00, {{16 + 3, 64 + 3, 0}});
    FontLoad(green.c_str(), 7);
    TextPrint("A", 200, 100);
    EXPECT_EQ(BackBufferPixel(203, 103), 0u) << "black is opaque now";
    EXPECT_EQ(BackBufferPixel(204, 103), kBlue);
    // A font loaded before keeps its transparency.
    FontSelect(6);
    TextPrint("A", 300, 100);
    EXPECT_EQ(BackBufferPixel(304, 103), kBlue);
}

TEST_F(FontTest, StartUpLoadsTheDefaultFontAndCentresTheLoadingText) {
    DrawLoadingText();
    ASSERT_EQ(Fonts().currentFont, 0);
    ExpectCellSize(8, 16); // smalfont.bmp beside the program
    // "Loading..." is 10 cells of 8 x 16 centred on the 640 x 480 screen: x 280..359, y 232..247.
    int lit = 0, outside = 0;
    for (int y = 200; y < 280; ++y)
        for (int x = 240; x < 400; ++x) {
            bool inBox = x >= 280 && x < 360 && y >= 232 && y < 248;
            bool drawn = BackBufferPixel(x, y) != kBlue;
            (inBox ? lit : outside) += drawn;
        }
    EXPECT_GT(lit, 100);
    EXPECT_EQ(outside, 0);
}
