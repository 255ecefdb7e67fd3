// System services inside the runtime: the download's time limit and the cache of bound libraries
// (the commands are in <tmv/files.h>).
#pragma once

#include "runtime/core/rt_string.h"

#include <tmv/files.h>

#include <vector>

// How long the download waits for the server's next bytes.
struct HttpTimeouts {
    int32_t receiveMs = 30000;
};
HttpTimeouts& HttpLimits();

// The modules bound so far, lower-case names beside their handles, freed together at program end.
struct LibraryCache {
    std::vector<RtString> names;
    std::vector<void*> handles;
};
LibraryCache& Libraries();
