// The texture binding and quad drawing that sprites, fonts, primitives and backgrounds share.
#pragma once

#include <cstdint>

struct QuadVertex {
    float x, y, u, v;
};

// Binds the sprite's texture (its mip-mapped copy when asked) on unit 0 and the second sprite's on
// unit 1; a negative id switches texturing off on that unit.
void BindSpriteTexture(int32_t id, int32_t secondId, bool useMipTexture);
// The four corners as a triangle fan's two triangles, collected in the quad batch; the texture is
// clamped to its edges while they draw.
void DrawTexturedQuad(const QuadVertex (&corners)[4]);
// The bound texture's filters follow the smoothing flag.
void ApplySmoothing();
// The 2D part of SetViewport: nothing bound, smoothing on, texturing off on both units.
void ResetViewport2D();
// The 2D part of the per-frame reset: opaque drawing.
void ResetFrameDrawing();
