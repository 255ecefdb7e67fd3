// The runtime's files commands, for programs that include <tmv/files.h>.
#pragma once
#include "runtime/files/files.h"
