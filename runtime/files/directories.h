// The wildcard match of file lists (the folder commands are in <tmv/files.h>).
#pragma once

#include <string_view>

// "*" any run (dots included), "?" one character but not ".", letters without regard to case.
bool WildcardMatch(std::string_view pattern, std::string_view name);
