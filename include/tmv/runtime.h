// The whole runtime as a game uses it: the commands of every subsystem and the one call that starts
// a program. KYgui is <tmv/kygui.h>.
//
//   RuntimeMain, and every command of core.h, gfx2d.h, input.h, files.h, sound.h, engine3d.h,
//   path.h and net.h
#pragma once

#include "core.h"
#include "engine3d.h"
#include "files.h"
#include "gfx2d.h"
#include "input.h"
#include "net.h"
#include "path.h"
#include "sound.h"

// The entry routine of a game: attaches every subsystem this library links, sets the default
// settings (then lets configure change them, when given), starts the runtime, runs programMain and
// ends the program. Never returns.
[[noreturn]] void RuntimeMain(int argc, char** argv, const char* title, void (*programMain)(),
                              void (*configure)(RuntimeSettings&) = nullptr);
