// The whole runtime inside this tree: the public commands and RuntimeMain (<tmv/runtime.h>), every
// subsystem's records, and AttachSubsystems.
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

#include <tmv/runtime.h>
