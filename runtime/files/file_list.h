// Listing the current folder into a string array.
#pragma once

#include "runtime/core/rt_array.h"
#include "runtime/core/rt_string.h"

// Folders (".", ".." included, whatever the pattern) then the files matching the pattern, each in the
// system's order; the result is folders × 65536 + files. A folder that cannot be read gives 0 and an
// empty array.
double FileList(const RtString& pattern, RtArray<RtString>& target);
