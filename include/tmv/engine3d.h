// The runtime's engine3d commands, for programs that include <tmv/engine3d.h>.
#pragma once
#include "runtime/engine3d/engine3d.h"
