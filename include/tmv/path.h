// The runtime's path commands, for programs that include <tmv/path.h>.
#pragma once
#include "runtime/path/path.h"
