// The 3D engine inside the runtime: the public commands (<tmv/engine3d.h>), the byte-level KYD
// readers and writer (kyd_model.h) and the collection loader.
#pragma once

#include "runtime/engine3d/kyd_model.h"

#include <tmv/engine3d.h>

struct ObjectCollection;

// An INI file of textures and objects, names relative to its folder; images keyed by colourKey.
bool ObjectCollectionLoad(ObjectCollection& collection, const RtString& file, int32_t colourKey);
