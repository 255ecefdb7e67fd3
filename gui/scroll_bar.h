// The vertical scroll bar of lists, text fields and the dialog frame.
#pragma once

#include "gui/kygui_state.h"

// Clamps SCROLL, then follows boxes, thumb drag and (for widgets) the wheel over the widget; true while
// the bar shows (a range above 0).
bool HandleScrollBar(KYguiDialog& dialog, KYguiWidget& widget, int32_t lx, int32_t ly, int32_t event, int32_t w,
                     int32_t h);
// One wheel step for the widget when the pointer is over it and no other widget took this frame's.
void WheelScroll(KYguiWidget& widget, bool over);
// The bar in the rightmost 1.5 characters of (x, y, w, h), when it shows.
void DrawScrollBar(const KYguiDialog& dialog, const KYguiWidget& widget, int32_t x, int32_t y, int32_t w, int32_t h);
