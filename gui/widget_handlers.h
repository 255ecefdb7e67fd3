// Each widget kind's behaviour in a frame: hit-test, events, captures and the values it reports.
#pragma once

#include "gui/kygui_state.h"

// The widget at store position index, with the pointer (lx, ly) relative to its top-left corner, the
// click event (-1 press, 1 release, 0 none) and the second button. Creating widgets from inside (tab
// groups, application hooks) may move the store, so callers look the widget up again afterwards.
void HandleWidget(KYguiDialog& dialog, int32_t index, int32_t lx, int32_t ly, int32_t event, int32_t button2);
// Shows the widgets of tab group k of a tab row and hides those of the others.
void SelectTab(KYguiDialog& dialog, int32_t index, int32_t k);
// The toolkit's own kinds; any other is an application kind, drawn by the application's hook.
bool BuiltIn(const RtString& type);
