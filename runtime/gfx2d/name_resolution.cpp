// Where a file name a program gives is read from.
#include "runtime/gfx2d/name_resolution.h"

bool ResolveFileName(const RtString& name, std::string& path) {
    path = std::string(name.view());
    return true;
}
