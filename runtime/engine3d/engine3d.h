// The 3D engine inside the runtime: the public commands (<tmv/engine3d.h>), the byte-level KYD
// readers and writer (kyd_model.h) and the collection loader.
#pragma once

#include "runtime/engine3d/kyd_model.h"

#include <tmv/engine3d.h>

struct ObjectCollection;

// An INI file of textures and objects, names relative to its folder; images keyed by colourKey.
// Objects past 64 MiB in all are not loaded; files past 64 MiB fail.
void ObjectCollectionLoad(ObjectCollection& collection, const RtString& file, int32_t colourKey);
// Empties the collection; its textures go once no mesh draws with them.
void ObjectCollectionFree(ObjectCollection& collection);
