// Where a file name a program gives is read from: the packed archive's resolver decides.
#include "runtime/gfx2d/name_resolution.h"

#include "runtime/files/files.h"

bool ResolveFileName(const RtString& name, std::string& path) {
    RtString resolved;
    if (!ArchiveResolve(name, resolved)) return false;
    path = std::string(resolved.view());
    return true;
}
