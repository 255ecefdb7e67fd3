// The 2D subsystem's record and the lookups every 2D command shares.
#include "runtime/gfx2d/gfx2d_state.h"

#include "runtime/core/runtime_state.h"

Graphics2D& Gfx2d() {
    static Graphics2D state;
    return state;
}

SpriteSlot* SlotOf(int32_t id) {
    if (id < 0 || id >= kSpriteCount) return nullptr;
    return &Gfx2d().sprites[static_cast<size_t>(id)];
}

bool GlReady() {
    RuntimeState& rt = Runtime();
    return rt.device && rt.device->contextReady;
}
