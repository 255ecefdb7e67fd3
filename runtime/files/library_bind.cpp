// LibraryBind: functions of shared libraries by name, each library loaded once and freed at the end.
#include "platform/shared_library.h"
#include "runtime/core/core_internal.h"
#include "runtime/files/system_services.h"

namespace {

void FreeLibraries() {
    LibraryCache& cache = Libraries();
    for (void* handle : cache.handles) platform::CloseLibrary(handle);
    cache.names.clear();
    cache.handles.clear();
}

void* FindCached(const RtString& name) {
    LibraryCache& cache = Libraries();
    for (size_t i = 0; i < cache.names.size(); ++i)
        if (cache.names[i] == name) return cache.handles[i];
    return nullptr;
}

} // namespace

LibraryCache& Libraries() {
    static LibraryCache* cache = new LibraryCache;
    return *cache;
}

void LibraryBind(RtString& module, const RtString& function, void*& pointer) {
    pointer = nullptr;
    std::string given(module.view());
    module = StringLower(module);
    void* handle = FindCached(module);
    if (!handle) {
        // File names are case-sensitive here: the lower-case name first, as programs expect, then
        // the name as the program wrote it.
        // An empty name would give the running program itself.
        if (!given.empty()) handle = platform::OpenLibrary(module.c_str());
        if (!handle && !given.empty()) handle = platform::OpenLibrary(given);
        if (!handle) {
            DebugOutput("DECLARE module not found: " + module + "\n");
            return;
        }
        LibraryCache& cache = Libraries();
        if (cache.names.empty()) RegisterExitHandler(FreeLibraries);
        cache.names.push_back(module);
        cache.handles.push_back(handle);
    }
    pointer = platform::LibraryFunction(handle, std::string(function.view()));
}
