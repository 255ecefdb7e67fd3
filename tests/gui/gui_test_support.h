// What the toolkit's tests share: the runtime, the toolkit and the test tools they all use, a started
// runtime with an empty dialog stack, the default colours, frames, pointer scripts and the debug output.
#pragma once

#include "gui/kygui_state.h"
#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"
#include "tests/support/debug_text.h"
#include "tests/support/frame_script.h"
#include "tests/support/headless.h"

#include <SDL.h>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

// A fresh dialog's colours.
constexpr uint32_t kWhite = 0xffffff, kGrey = 0xc0c0c0, kHoverBright = 0xfff0a0, kHoverNorm = 0xff9040;

// Runtime up, no dialogs, the shipped smalfont.bmp (8 x 16 cells) as font 0 with fixed metrics, flat
// shading, pointer at (639, 479), buttons up, 60 frames a second at most.
void StartGui();
// StartGui and a dialog at (0, 0). A fresh dialog at (x, y) has no title bar: its content starts at
// (x + 5, y + 5).
void StartDialog(int32_t width, int32_t height);
// KYshow(0) then ShowScreen, n times.
void RunFrames(int n);
// The pointer to (x, y), seen after one frame.
void PointerTo(int x, int y);
// A pixel of the frame being drawn that is (or, with is false, is not) of the colour.
struct Pixel {
    int x, y;
    uint32_t colour;
    bool is = true;
};
void ExpectPixels(std::initializer_list<Pixel> pixels);
// Frames 1..n of the frame script: each ShowScreen, then KYshow(0), collecting what read() says
// after each KYshow; the script stops after a last ShowScreen.
std::string Watch(int n, const std::function<std::string()>& read);
// For Watch: properties named "id.PROPERTY" and separated by blanks (".XPOS" is the dialog's), their
// values joined by commas and followed by a blank.
std::function<std::string()> Properties(const std::string& names);

