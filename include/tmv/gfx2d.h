// The runtime's gfx2d commands, for programs that include <tmv/gfx2d.h>.
#pragma once
#include "runtime/gfx2d/gfx2d.h"
