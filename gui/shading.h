// The toolkit's drawing shapes: the shaded face, the outline with cut corners, and flat polygons' corners.
#pragma once

#include <cstdint>

// 70 % in c1, the rest in c2 (smooth when the driver offers it): bands across a wide box, down a tall one.
void ShadedBox(int32_t c1, int32_t c2, double x, double y, double w, double h);
// A one-pixel outline of (x, y, w, h) without its four corner pixels.
void FrameLines(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
// A corner of a polygon begun without a texture (PolyBegin(-1)).
void FlatCorner(double x, double y, int32_t colour);
