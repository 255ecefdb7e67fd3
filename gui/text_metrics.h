// Text measured and printed with the toolkit's character tables, fixed or proportional.
#pragma once

#include "runtime/core/rt_string.h"

#include <cstdint>

int32_t MeasureText(const RtString& text);
// Proportional: one character at a time, each shifted left by its kerning offset.
void PrintTextAt(const RtString& text, double x, double y);
