// Keyboard operation: the ring of focusable widgets in layout order, the frame's navigation keys, and
// what they do to the focused widget.
#pragma once

#include "gui/kygui_state.h"

// What the frame's keys ask of the focused widget; moves of the focus itself are done at once.
struct FocusKeys {
    bool activate = false; // Space or Enter on a button, check box or file chooser
    bool confirm = false;  // Enter elsewhere (not in a text field): the dialog's default button
    int32_t step = 0;      // arrows: -1 up or left, +1 down or right
    int32_t page = 0;      // Page Up -1, Page Down +1
    int32_t end = 0;       // Home -1, End +1
    bool cancel = false;   // Escape (a pad's B): the standard dialogs close as Cancel or No would
};

// Buttons, check boxes, radio groups, lists, sliders, text fields, tabs and file choosers, when shown.
bool Focusable(const KYguiWidget& w);
// The next (+1) or previous (-1) focusable widget after the focused one in layout order, wrapping;
// nothing when there is none.
void MoveFocus(KYguiDialog& dialog, int32_t direction);
// Takes the frame's key presses, moves the focus for Tab, Shift+Tab and Ctrl+Tab (only Ctrl+Tab inside
// a text field) and returns what the rest ask; those rest in the state for the text field.
FocusKeys ReadFocusKeys(KYguiDialog& dialog);
// After the widget's own handler: arrows, pages and ends move a radio group's, list's or tab row's
// selection and a slider's value, as a click or a drag there would.
void ApplyFocusKeys(KYguiDialog& dialog, int32_t index, const FocusKeys& keys);
// The focus mark: a dark outline just inside the widget, in its viewport.
void DrawFocusMark(const KYguiWidget& w);
