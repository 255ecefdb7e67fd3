// One dialog's frame pass: title bar, frame, grip, scroll bar, flow layout of the widgets (each
// handled, when the dialog is active, and drawn clipped), tooltips and dimming.
#pragma once

#include "gui/kygui_state.h"

// Returns the larger of the laid-out content's height and the dialog's height. Without draw the
// widgets are handled and laid out but nothing is drawn.
int32_t DrawDialog(KYguiDialog& dialog, bool active, bool draw);
// The pointer is over the widget (for lists and radio groups: over one of its items).
bool PointerOver(const KYguiWidget& widget);
// The pointer has rested long enough for tooltips.
bool PointerRested(double now);
// Sets the dialog's height to what its widgets take in the current font, as far as the screen
// allows: the standard dialogs fit whatever font the program chose.
void FitDialogHeight(KYguiDialog& dialog);
