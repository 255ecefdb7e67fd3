// The active dialog's frame input: the click event and the modal requests raised during the frame.
#pragma once

#include "gui/kygui_state.h"

// -1 in the frame the left button goes down, 1 in the frame it comes up after a press, else 0.
int32_t ClickEvent(int32_t x, int32_t y, int32_t button1);
// Runs the colour picker or the text keyboard a widget asked for, and stores its answer.
void ServeRequests(KYguiDialog& dialog);
