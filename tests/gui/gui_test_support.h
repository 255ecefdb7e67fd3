// What the toolkit's tests share: a started runtime with an empty dialog stack, frames and the debug
// output.
#pragma once

#include "gui/kygui_state.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Runtime up, no dialogs, the shipped smalfont.bmp (8 x 16 cells) as font 0 with fixed metrics, flat
// shading, pointer shown, buttons up.
void StartGui();
// A fresh dialog at (x, y) without title bar: its content starts at (x + 5, y + 5).
void OpenDialog(int32_t x, int32_t y, int32_t width, int32_t height);
// KYshow(0) then ShowScreen, n times.
void RunFrames(int n);
// Frames 1..n of the frame script: each ShowScreen, then KYshow(0), collecting what read() says
// after each KYshow; the script stops after a last ShowScreen.
std::string Watch(int n, const std::function<std::string()>& read);
// The widget's property followed by a blank, for Watch.
std::function<std::string()> Property(const char* id, const char* property);
// Several properties ({id, property}, id "" the dialog) joined by commas and followed by a blank.
std::function<std::string()> Properties(std::vector<std::pair<const char*, const char*>> list);

// Collects the debug output while alive.
class DebugCapture {
  public:
    DebugCapture();
    ~DebugCapture();
    std::string Take();

  private:
    bool taken_ = false;
};
