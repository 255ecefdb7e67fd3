// Input inside the runtime: the public commands (<tmv/input.h>); the input object and its per-frame
// refresh are in input_device.h.
#pragma once

#include <tmv/input.h>
