// The process-wide records of start-up.
#include "runtime/core/runtime_state.h"

#include "runtime/core/subsystem_hooks.h"

// Never destroyed: program end releases everything in its own order and leaves no work to static
// destructors.
RuntimeSettings& Settings() {
    static RuntimeSettings* settings = new RuntimeSettings;
    return *settings;
}

RuntimeState& Runtime() {
    static RuntimeState* state = new RuntimeState;
    return *state;
}

OpenGLVividoru& Device() { return *Runtime().device; }

RtString& CommandLine() {
    static RtString* line = new RtString;
    return *line;
}

SubsystemHooks& Hooks() {
    static SubsystemHooks* hooks = new SubsystemHooks;
    return *hooks;
}
