// The whole runtime: every subsystem's commands and RuntimeMain, for programs that include
// <tmv/runtime.h>.
#pragma once
#include "runtime/runtime.h"
