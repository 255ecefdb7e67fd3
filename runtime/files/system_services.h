// System services inside the runtime: the cache of bound libraries
// (the commands are in <tmv/files.h>).
#pragma once

#include "runtime/core/rt_string.h"

#include <tmv/files.h>

#include <vector>

// The modules bound so far, lower-case names beside their handles, freed together at program end.
struct LibraryCache {
    std::vector<RtString> names;
    std::vector<void*> handles;
};
LibraryCache& Libraries();
