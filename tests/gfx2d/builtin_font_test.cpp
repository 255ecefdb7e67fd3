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

TEST(BuiltinFont, PaintsOutlinesAndLeavesControlCodesEmpty) {
    std::vector<uint8_t> img(kBuiltinFontWidth * kBuiltinFontHeight * 4, 99);
    PaintBuiltinFont(img.data());
    auto at = [&](int x, int y) { return &img[(y * kBuiltinFontWidth + x) * 4]; };
    // The hole of "A" (cell column 1, row 4, glyph one pixel into the cell) touches set pixels: outline.
    EXPECT_EQ(at(8 + 3, 32 + 2)[0], 8);
    EXPECT_EQ(at(8 + 3, 32 + 2)[3], 255);
    // Codes 0..31 (the top two cell rows) and the space are empty.
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < (y < 16 ? kBuiltinFontWidth : 8); ++x) EXPECT_EQ(at(x, y)[3], 0) << x << "," << y;
}
