// Bitmap fonts: the current font, the print routine, the built-in font, and
// the start-up text (the commands are in gfx2d.h). Font n lives in sprite slot 65504 + n.
#pragma once

#include "runtime/core/rt_string.h"

#include <cstdint>

constexpr int32_t kFontCount = 32;

struct FontState {
    int32_t currentFont = 0;
};

FontState& Fonts();

// The print routine behind TextPrint, with the depth the 3D part places text at. The characters join
// the quad batch (gl_state.h), four vertices each.
void PrintText(int32_t font, const RtString& text, double x, double y, float z);
// Builds the built-in font into the font's slot.
void FontBuildDefault(int32_t font);
// Start-up: font 0 from "smalfont.bmp" (or built in) and "Loading..." in the middle of the screen.
void DrawLoadingText();
// "Loading..." centred in the current font.
void PrintLoadingText();
