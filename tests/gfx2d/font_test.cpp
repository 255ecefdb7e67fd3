// Fonts: numbers and clamping, the built-in fallback, the glyph grids, where text lands, the colour
// key of font files, and the loading text of start-up.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "runtime/gfx2d/surfaces.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <utility>

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
};

// A w x h font picture of `fill`, with one pixel (x, y) in `colour`, loaded as the font.
void LoadFontPicture(int32_t font, int32_t w, int32_t h, uint32_t fill, int32_t x = 0, int32_t y = 0,
                     uint32_t colour = 0) {
    TestPicture p = SolidPicture(w, h, fill);
    if (x || y) p.At(x, y) = colour;
    FontLoad(WriteTestFile("font.bmp", Bmp24(p)).c_str(), font);
}

void ExpectCellSize(int32_t w, int32_t h) {
    int32_t cw = -1, ch = -1;
    FontGetSize(cw, ch);
    EXPECT_EQ(std::pair(cw, ch), std::pair(w, h));
    double dw = -1, dh = -1;
    FontGetSize(dw, dh);
    EXPECT_EQ(std::pair(dw, dh), std::pair(static_cast<double>(w), static_cast<double>(h)));
}

} // namespace

TEST_F(FontTest, NumbersAreClampedAndAMissingFileGivesTheBuiltInFontSelected) {
    FontSelect(40);
    EXPECT_EQ(Fonts().currentFont, 31);
    FontSelect(-3);
    EXPECT_EQ(Fonts().currentFont, 0);

    platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");
    FontLoad("no such font.bmp", 3);
    EXPECT_EQ(Fonts().currentFont, 3);
    EXPECT_NE(SlotOf(kFirstFontSprite + 3)->texture, 0u);
    ExpectCellSize(8, 8);
    FontLoad("", 99);
    // The named image is missed in the log; asking for the built-in font is not.
    EXPECT_EQ(ReadLog(), "Font image not loaded, the built-in font stands in: no such font.bmp\r\n");
    EXPECT_EQ(Fonts().currentFont, 31);
    // Pictures too small for 16 x 8 cells of at least one pixel fall back as well.
    LoadFontPicture(4, 15, 40, kWhite);
    ExpectCellSize(8, 8);
}

TEST_F(FontTest, PictureSizeChoosesTheGrid) {
    struct Case {
        int32_t w, h, cellW, cellH;
    };
    for (Case c : {Case{256, 128, 16, 16}, Case{256, 256, 16, 16}, Case{128, 256, 8, 16}}) {
        LoadFontPicture(5, c.w, c.h, 0);
        ExpectCellSize(c.cellW, c.cellH);
    }
    // A 256-glyph font shows byte 0xC4 as its own glyph: cell column 4, row 12.
    LoadFontPicture(5, 128, 256, 0, 4 * 8 + 2, 12 * 16 + 3, kGreen);
    TextPrint("\xC4", 40, 40);
    EXPECT_EQ(BackBufferPixel(42, 43), kGreen);
}

TEST_F(FontTest, TextLandsOnCeiledCellsAndEveryByteDrawsItsCell) {
    FontLoad("", 0);
    // "A" then "B" at (10.2, 5): cells at x = 11 and 19; glyph pixels start one pixel into the cell.
    TextPrint("AB", 10.2, 5);
    EXPECT_EQ(BackBufferPixel(11, 6), kBlue) << "the cell's first column is transparent";
    EXPECT_EQ(BackBufferPixel(12, 6), kOutline);
    EXPECT_EQ(BackBufferPixel(13, 6), kWhite) << "top bar of the A";
    EXPECT_EQ(BackBufferPixel(13, 5), kOutline);
    EXPECT_EQ(BackBufferPixel(13, 4), kBlue);
    EXPECT_EQ(BackBufferPixel(20, 6), kOutline);
    EXPECT_EQ(BackBufferPixel(21, 6), kWhite) << "top of the B";

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
    TextPrint("12.5", 10, 50);
    for (int x = 10; x < 50; ++x) EXPECT_EQ(BackBufferPixel(x, 43), BackBufferPixel(x, 53)) << x;

    // A long text's last glyph still lands in its cell.
    TextPrint(RtString(std::string(999, ' ') + "A"), 11 - 999 * 8, 100);
    EXPECT_EQ(BackBufferPixel(13, 101), kWhite);
}

TEST_F(FontTest, FontFilesUseTheFontColourKeyOfTheirLoadTime) {
    // Black background, one red pixel in the cell of "A" (column 1, row 4 of 16 x 16 cells).
    LoadFontPicture(6, 256, 128, 0, 16 + 3, 64 + 3, kRed);
    TextPrint("A", 100, 100);
    EXPECT_EQ(BackBufferPixel(103, 103), kRed);
    EXPECT_EQ(BackBufferPixel(104, 103), kBlue) << "black is the font key";

    SetColourKey(kGreen);
    LoadFontPicture(7, 256, 128, kGreen, 16 + 3, 64 + 3, 0);
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
