// The runtime's sound commands, for programs that include <tmv/sound.h>.
#pragma once
#include "runtime/sound/sound.h"
