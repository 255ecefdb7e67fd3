// Runtime core inside the runtime: the public commands (<tmv/core.h>), the state records
// (runtime_state.h), the data statement cursor (data_statements.h) and the frame's presentation. The
// GL state record and the quad batch are in gl_state.h; what the subsystems and generated code use
// besides (the message pump, the clean-up, exit work, the source position) in core_internal.h.
#pragma once

#include "runtime/core/data_statements.h"
#include "runtime/core/runtime_state.h"

#include <tmv/core.h>

// Swap, clear and pace to the frame period; the milliseconds spent plus 1.
double PresentFrame(OpenGLVividoru& device);
