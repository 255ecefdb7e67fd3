// The current folder and listing its entries with a wildcard pattern.
#pragma once

#include "runtime/core/rt_string.h"

#include <string_view>

// With "/" separators and one trailing "/", whatever its length.
RtString CurrentDirGet();
// 1 on success, 0 when the system refuses the folder.
double CurrentDirSet(const RtString& path);
// "*" any run (dots included), "?" one character but not ".", letters without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name);
