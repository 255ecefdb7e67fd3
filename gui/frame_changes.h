// Whether a frame would look as the last drawn one: what KYgui_changed compares.
#pragma once

#include "gui/kygui_state.h"

// The pointer, the tooltip rest, the font and the shading as a frame would draw them now.
KYguiLooks CurrentLooks();
// The standard dialogs' frame end: ShowScreen after a changed frame, KeepScreen after one at rest.
void EndDialogFrame(bool changed);
