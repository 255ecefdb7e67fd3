// Shared libraries over dlopen and dlsym.
#include "platform/shared_library.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// The loader's own open would wait for ever on a FIFO: a path must name a regular file.
bool RegularFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return regular;
}

} // namespace

Library OpenLibrary(const std::string& name) {
    if (name.find('/') != std::string::npos && !RegularFile(name)) return nullptr;
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* LibraryFunction(Library library, const std::string& name) { return dlsym(library, name.c_str()); }

void CloseLibrary(Library library) {
    if (library) dlclose(library);
}

} // namespace platform
