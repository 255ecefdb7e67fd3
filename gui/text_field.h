// Text fields: focus, mouse selection, the editing keys, typing and scrolling.
#pragma once

#include "gui/kygui_state.h"

void HandleTextField(KYguiDialog& dialog, KYguiWidget& field, int32_t lx, int32_t ly, int32_t event);
// The width the field's text wraps in: the field less a character, less the scroll bar when it shows.
int32_t TextAreaWidth(const KYguiWidget& field);
