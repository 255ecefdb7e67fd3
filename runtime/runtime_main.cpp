// The entry routine of a game: every subsystem attached, then the core's start-up.
#include "runtime/runtime.h"

void RuntimeMain(int argc, char** argv, const char* title, void (*programMain)(), void (*configure)(RuntimeSettings&)) {
    AttachSubsystems();
    CoreMain(argc, argv, title, programMain, configure);
}
