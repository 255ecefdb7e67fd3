// Loading shared libraries and finding their functions by name.
#pragma once

#include <string>

namespace platform {

using Library = void*;

// The system's library loader (a name with a "/" is a path); null when it cannot be loaded.
Library OpenLibrary(const std::string& name);
// The function's address, null when the library has none of that name.
void* LibraryFunction(Library library, const std::string& name);
void CloseLibrary(Library library);

} // namespace platform
