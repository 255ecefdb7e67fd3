// How each widget kind looks, drawn in the widget's own coordinates (0, 0 its top-left corner).
#pragma once

#include "gui/kygui_state.h"

void DrawWidget(KYguiDialog& dialog, KYguiWidget& widget);
