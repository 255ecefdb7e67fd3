// The GL state the runtime remembers between its own calls.
#include "runtime/core/core.h"

// Nothing is held back or remembered yet.
void FlushGL() {}
