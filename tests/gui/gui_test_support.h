// What the toolkit's tests share: a started runtime with an empty dialog stack, frames, the debug
// output, and where the flow layout puts each widget.
#pragma once

#include "gui/kygui_state.h"

#include <cstdint>
#include <functional>
#include <string>

// Runtime up, no dialogs, fixed metrics for the current font, flat shading, pointer shown, buttons up.
void StartGui();
// A fresh dialog at (x, y) without title bar: its content starts at (x + 5, y + 5).
void OpenDialog(int32_t x, int32_t y, int32_t width, int32_t height);
// The current font's cell width and height.
int32_t Fx();
int32_t Fy();
// KYshow(0) then ShowScreen, n times.
void RunFrames(int n);
// Frames 1..n of the frame script: each ShowScreen, then KYshow(0), collecting what read() says
// after each KYshow; the script stops after a last ShowScreen.
std::string Watch(int n, const std::function<std::string()>& read);
// The widget's property followed by a blank, for Watch.
std::function<std::string()> Property(const char* id, const char* property);
// Scripted left click on the middle of a widget of whatever dialog is active at that frame.
void ScriptClickOn(int frame, const char* id);

struct Box {
    int32_t x, y, w, h;
    int32_t CentreX() const { return x + w / 2; }
    int32_t CentreY() const { return y + h / 2; }
};
// Where the active dialog's flow layout places the widget in the next frame (not scrolled): rows two pixels apart, a
// row breaking when the next widget would pass the right edge.
Box Placed(const RtString& id);

// Collects the debug output while alive.
class DebugCapture {
  public:
    DebugCapture();
    ~DebugCapture();
    std::string Take();

  private:
    bool taken_ = false;
};
