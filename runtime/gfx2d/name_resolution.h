// Where a file name a program gives is read from.
#pragma once

#include "runtime/core/rt_string.h"

#include <string>

// The path to read for a name (the file itself or an extract of the packed archive); false when the
// name cannot be resolved.
bool ResolveFileName(const RtString& name, std::string& path);
