// The runtime's core commands, for programs that include <tmv/core.h>.
#pragma once
#include "runtime/core/core.h"
