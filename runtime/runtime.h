// The whole runtime as a game uses it: the commands of every subsystem and the one call that starts
// a program.
#pragma once

#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/files/files.h"
#include "runtime/gfx2d/gfx2d.h"
#include "runtime/input/input.h"
#include "runtime/net/net.h"
#include "runtime/path/path.h"
#include "runtime/sound/sound.h"

// The entry routine of a game: attaches every subsystem this library links, sets the default
// settings (then lets configure change them, when given), starts the runtime, runs programMain and
// ends the program. Never returns.
[[noreturn]] void RuntimeMain(int argc, char** argv, const char* title, void (*programMain)(),
                              void (*configure)(RuntimeSettings&) = nullptr);
