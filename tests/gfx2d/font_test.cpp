// Fonts: the shipped font's glyphs on screen against its own image, the grids, font numbers and the
// built-in fallback, the colour key of font files.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/bitmap_font.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/gfx2d/gfx2d_state.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

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
    p.At(x, y) = colour;
    FontLoad(WriteTestFile("font.bmp", Bmp24(p)).c_str(), font);
}

std::pair<int32_t, int32_t> CellSize() {
    double w = -1, h = -1;
    FontGetSize(w, h);
    return {static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

} // namespace

// Each byte of a text shows its 8 x 16 cell of smalfont.bmp at whole pixels up from the position given,
// black (the font key) letting the screen through.
TEST_F(FontTest, TheShippedFontShowsEachBytesCell) {
    DrawLoadingText(); // loads smalfont.bmp as font 0
    SDL_Surface* loaded = SDL_LoadBMP((platform::ProgramDir() + "/smalfont.bmp").c_str());
    ASSERT_NE(loaded, nullptr) << SDL_GetError();
    SDL_Surface* font = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA32, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const std::string text = "Ag\xC4~ 0";
    TextPrint(text, 10.2, 20.7);
    for (size_t i = 0; i < text.size(); ++i) {
        int cellX = (static_cast<uint8_t>(text[i]) % 16) * 8, cellY = (static_cast<uint8_t>(text[i]) / 16) * 16;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint8_t* p = static_cast<uint8_t*>(font->pixels) + (cellY + y) * font->pitch + (cellX + x) * 4;
                uint32_t colour = p[0] | p[1] << 8 | p[2] << 16;
                ASSERT_EQ(BackBufferPixel(11 + static_cast<int>(i) * 8 + x, 21 + y), colour ? colour : kBlue)
                    << "byte " << i << " at " << x << "," << y;
            }
    }
    SDL_FreeSurface(font);
    SDL_FreeSurface(loaded);
}

// 16 x 8 cells in a wide picture, 16 x 16 from square on; a 128-glyph font shows byte 0xC4 as 0x44.
// Font files take the colour key of their load time.
TEST_F(FontTest, PictureSizeChoosesTheGridLoadTimeTheKeyAndAMissingFileTheBuiltInFont) {
    for (auto [w, h, cellW, cellH, pixelX, pixelY] : {std::tuple{256, 128, 16, 16, 4 * 16 + 2, 4 * 16 + 3},
                                                      {256, 256, 16, 16, 4 * 16 + 2, 12 * 16 + 3},
                                                      {128, 256, 8, 16, 4 * 8 + 2, 12 * 16 + 3},
                                                      {128, 64, 8, 8, 4 * 8 + 2, 4 * 8 + 3}}) {
        LoadFontPicture(5, w, h, 0, pixelX, pixelY, kGreen);
        EXPECT_EQ(CellSize(), std::pair(cellW, cellH));
        glClear(GL_COLOR_BUFFER_BIT);
        TextPrint("\xC4", 40, 40);
        EXPECT_EQ(BackBufferPixel(42, 43), kGreen) << w << " x " << h;
    }

    // Green is the font key once it is the colour key; black, the key at start-up, is opaque then.
    SetColourKey(kGreen);
    LoadFontPicture(7, 256, 128, kGreen, 16 + 3, 64 + 3, 0);
    TextPrint("A", 200, 100);
    EXPECT_EQ(std::pair(BackBufferPixel(203, 103), BackBufferPixel(204, 103)), std::pair(0u, kBlue));

    // Font numbers are clamped; a missing file gives the built-in font, selected.
    FontSelect(40);
    EXPECT_EQ(Fonts().currentFont, 31);
    FontSelect(-3);
    EXPECT_EQ(Fonts().currentFont, 0);

    platform::RemoveFile(platform::TempDir() + "ErrorLog.txt");
    FontLoad("x", 3); // no such file
    EXPECT_EQ(CellSize(), std::pair(8, 8));
    // Its "A" and "M" one pixel into their cells, white on an outline of grey 8; control codes show nothing.
    TextPrint("AM\x01", 100, 100);
    std::string seen;
    for (int y = 100; y < 108; ++y)
        for (int x = 100; x < 124; ++x) {
            uint32_t c = BackBufferPixel(x, y);
            seen += c == kWhite ? '#' : c == 0x080808u ? '+' : c == kBlue ? '.' : '?';
        }
    // clang-format off
    EXPECT_EQ(seen, "..+++....+...+.........." ".+###+..+#+.+#+........." ".+#+#+..+##+##+........."
                    ".+###+..+#+#+#+........." ".+#+#+..+#+++#+........." ".+#+#+..+#+.+#+........."
                    "..+.+....+...+.........." "........................");
    // clang-format on
    FontLoad("", 99);
    // The named image is missed in the log; asking for the built-in font is not.
    EXPECT_EQ(ReadLog(), "Font image not loaded, the built-in font stands in: x\r\n");
    // Pictures too small for 16 x 8 cells of at least one pixel fall back as well; 16 x 8 has them.
    for (auto [w, h, cell] : {std::tuple{15, 40, 8}, {40, 7, 8}, {16, 8, 1}}) {
        LoadFontPicture(4, w, h, kWhite);
        EXPECT_EQ(CellSize(), std::pair(cell, cell)) << w << " x " << h;
    }
}
