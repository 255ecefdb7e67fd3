// The built-in font: 5 x 6 glyphs for codes 32..127, used when no font file can be loaded.
#pragma once

#include <array>
#include <cstdint>

constexpr int kBuiltinFontWidth = 128;
constexpr int kBuiltinFontHeight = 64;

// One word per code from 32: bit (row * 5 + column) set where the glyph has a pixel.
const std::array<uint32_t, 96>& BuiltinGlyphWords();
// Paints the 128 x 64 font image (16 x 8 cells of 8 x 8, codes 0..31 empty) into RGBA pixels, rows from
// the top: glyph pixels white, the pixels beside them a near-black outline, the rest transparent.
void PaintBuiltinFont(uint8_t* pixels);
