// Word-wrapped text of static texts and text fields: drawing with selection and cursor, height,
// and the character under a point.
#pragma once

#include "gui/kygui_state.h"

// Draws the widget's text from (x0, y0) within width; marks the selection and, when the widget has the
// dialog's focus, the cursor (recording its centre). Returns the height used.
int32_t DrawWrappedText(KYguiDialog& dialog, KYguiWidget& widget, double x0, double y0, int32_t width);
// The height DrawWrappedText would use, without drawing.
int32_t WrappedTextHeight(const RtString& text, int32_t width);
// The index of the character at (px, py) in the text laid out from (0, 0); the length when none.
int32_t HitTestText(const RtString& text, int32_t width, double px, double py);
// The line (from 0) on which the character at index stands in the text laid out within width.
int32_t TextLineOf(const RtString& text, int32_t width, int32_t index);
