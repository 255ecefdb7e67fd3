// Whether the current context really offers an OpenGL function: the driver's lookup answers with an
// address for any name, so the function's version or extension, as the system's headers declare
// it, must be offered too.
#include "platform/video.h"
#include "runtime/core/gl_extensions.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <unordered_map>

namespace {

struct EntryPoint {
    const char* name;
    const char* owner; // "GL_VERSION_x_y" or an extension
};

constexpr EntryPoint kEntryPoints[] = {
#include "gl_entry_points.inc"
};

using OwnerTable = std::unordered_multimap<std::string_view, std::string_view>;

const OwnerTable& Owners() {
    static const OwnerTable* table = [] {
        auto* t = new OwnerTable;
        for (const EntryPoint& e : kEntryPoints) t->emplace(e.name, e.owner);
        return t;
    }();
    return *table;
}

bool VersionOffered(std::string_view owner) {
    int major = 0, minor = 0;
    if (std::sscanf(owner.data(), "GL_VERSION_%d_%d", &major, &minor) != 2) return false;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int haveMajor = 0, haveMinor = 0;
    if (!version || std::sscanf(version, "%d.%d", &haveMajor, &haveMinor) != 2) return false;
    return haveMajor > major || (haveMajor == major && haveMinor >= minor);
}

} // namespace

bool GlEntryPointOffered(const char* name) {
    if (!platform::GetProcAddress(name)) return false;
    auto [first, last] = Owners().equal_range(name);
    for (auto it = first; it != last; ++it) {
        std::string_view owner = it->second;
        // Owners are whole literals from the table, so data() ends where the view does.
        if (owner.starts_with("GL_VERSION_") ? VersionOffered(owner) : HasGlExtension(owner.data())) return true;
    }
    return false;
}
