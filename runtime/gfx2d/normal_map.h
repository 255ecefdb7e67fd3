// ConvertToNormalMap: a height picture (blue channel) into a tangent-space normal map.
#pragma once

#include <cstdint>

// Replaces the RGBA buffer (width x height texels, texture rows) by its normals; alpha is kept.
// Neighbours wrap around the edges.
void ConvertToNormalMap(uint8_t* pixels, int32_t width, int32_t height);
