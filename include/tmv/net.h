// The runtime's net commands, for programs that include <tmv/net.h>.
#pragma once
#include "runtime/net/net.h"
