// The runtime's input commands, for programs that include <tmv/input.h>.
#pragma once
#include "runtime/input/input.h"
