// RtArray inside the runtime: the public header, under the name the runtime's files include.
#pragma once

#include <tmv/rt_array.h>
