// The 2D subsystem's record and the lookups every 2D command shares.
#include "runtime/gfx2d/gfx2d_state.h"

#include "runtime/core/runtime_state.h"

// Never destroyed: the device's end frees the textures, also when that end runs from an exit handler
// after the static destructors of later-made objects.
Graphics2D& Gfx2d() {
    static Graphics2D* state = new Graphics2D;
    return *state;
}

SpriteSlot* SlotOf(int32_t id) {
    if (id < 0 || id >= kSpriteCount) return nullptr;
    return &Gfx2d().sprites[static_cast<size_t>(id)];
}

bool GlReady() {
    RuntimeState& rt = Runtime();
    return rt.device && rt.device->contextReady;
}
