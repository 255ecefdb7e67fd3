// The sprite store's operations shared by loading, fonts and grabbing.
#pragma once

#include "runtime/core/rt_string.h"

#include <cstdint>
#include <string>

// Deletes the textures (while the GL context exists) and the mask; the frame size stays.
void SpriteFree(int32_t id);
// Decodes the resolved path with the key and uploads it into the slot (font ids: nearest filtering,
// no mip texture, no normal map). False leaves the slot empty.
bool SpriteLoadInto(int32_t id, const std::string& path, int32_t key, bool normalMap);
// Frees the slot's collision mask, as every change of its texture must.
void SpriteFreeMask(int32_t id);
