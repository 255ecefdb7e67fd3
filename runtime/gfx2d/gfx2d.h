// 2D graphics inside the runtime: the public commands (<tmv/gfx2d.h>) and where the subsystem's
// shared parts are.
#pragma once

#include <tmv/gfx2d.h>

// gfx2d_state.h (the Graphics2D record, SlotOf), sprite_store.h (SpriteFree, SpriteLoadInto),
// image_file.h (DecodeImageFile), texture_upload.h (TextureUpload), sprite_draw.h (BindSpriteTexture,
// DrawTexturedQuad, ApplySmoothing), name_resolution.h (ResolveFileName), bitmap_font.h (the FontState
// record, PrintText, the start-up text), surfaces.h (the SurfaceState record, BackgroundDraw,
// BackgroundFree, KeyColourProbe), image_writer.h (ImageWrite), builtin_font.h (the built-in glyphs).
