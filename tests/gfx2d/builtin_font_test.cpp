// The built-in font's glyph words and the image painted from them.
#include "runtime/gfx2d/builtin_font.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

TEST(BuiltinFont, GlyphWordsAreFixedWhereGivenAndDistinctForPrintableCodes) {
    const std::array<uint32_t, 96>& words = BuiltinGlyphWords();
    EXPECT_EQ(words['A' - 32], 0xA5394Eu);
    EXPECT_EQ(words['0' - 32], 0xE5294Eu);
    EXPECT_EQ(words[0], 0u);
    std::set<uint32_t> seen;
    for (int code = 33; code < 127; ++code) {
        uint32_t w = words[code - 32];
        EXPECT_NE(w, 0u) << "code " << code << " has no pixels";
        EXPECT_EQ(w >> 30, 0u) << "code " << code << " uses bits past the 5 x 6 cell";
        EXPECT_TRUE(seen.insert(w).second) << "code " << code << " looks like another glyph";
    }
}

// The cell of "A" (word 0xA5394E: bit gy * 5 + gx is the pixel one into the cell at gx, gy) in white
// with its outline in grey 8; codes 0..31 (the top two cell rows) and the space are empty.
TEST(BuiltinFont, PaintsTheGlyphWithItsOutlineAndLeavesControlCodesEmpty) {
    std::vector<uint8_t> img(kBuiltinFontWidth * kBuiltinFontHeight * 4, 99);
    PaintBuiltinFont(img.data());
    auto at = [&](int x, int y) { return &img[(y * kBuiltinFontWidth + x) * 4]; };
    const char* cellA[8] = {"..ooo...", ".o###o..", ".o#o#o..", ".o###o..",
                            ".o#o#o..", ".o#o#o..", "..o.o...", "........"};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            char c = cellA[y][x];
            uint8_t shade = c == '#' ? 255 : c == 'o' ? 8 : 0;
            EXPECT_EQ(at(8 + x, 32 + y)[3] ? at(8 + x, 32 + y)[0] : 0, shade) << x << "," << y;
            EXPECT_EQ(at(8 + x, 32 + y)[3], shade ? 255 : 0) << x << "," << y;
        }
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < (y < 16 ? kBuiltinFontWidth : 8); ++x) EXPECT_EQ(at(x, y)[3], 0) << x << "," << y;
}
