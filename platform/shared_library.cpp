// Shared libraries over dlopen and dlsym.
#include "platform/shared_library.h"

#include <dlfcn.h>

namespace platform {

Library OpenLibrary(const std::string& name) { return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* LibraryFunction(Library library, const std::string& name) { return dlsym(library, name.c_str()); }

void CloseLibrary(Library library) {
    if (library) dlclose(library);
}

} // namespace platform
