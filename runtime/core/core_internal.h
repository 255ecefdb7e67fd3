// What the subsystems and generated program code use of the core besides its commands: the message
// pump and window procedure, the clean-up, exit work and the source position.
#pragma once

#include "runtime/core/core.h"

namespace platform {
struct Event;
}

int PumpMessages(OpenGLVividoru& device);
long RuntimeWindowProc(const platform::Event& event);
// The release of every runtime object in its fixed order; each step runs once.
void RuntimeCleanup();
// Work that must happen at program end (file write-back, freeing libraries): an exit handler of the
// process (atexit), so it runs after RuntimeCleanup when EndProgram ends the program, and also on
// exit() or a return from main; the last registered runs first.
void RegisterExitHandler(void (*handler)());
// The source position a fatal error reports, kept up to date by programs built in debug mode.
void SetSourcePosition(double module, double line);
