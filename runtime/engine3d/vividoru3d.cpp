// The engine object's life: creation on the device, the per-frame steps, destruction with its GL
// objects while the context exists.
#include "runtime/engine3d/vividoru3d.h"

#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/engine3d/engine3d.h"

Vividoru3D::Vividoru3D(OpenGLVividoru& device_, bool debugMode_) : device(device_), debugMode(debugMode_) {}

Vividoru3D::~Vividoru3D() {
    meshes.clear();
    GlExtensions& ext = GlExt();
    if (!device.contextReady || !ext.glDeleteObjectARB) return;
    FlushGL();
    for (ShaderSlot& slot : shaders)
        for (uint32_t object : {slot.program, slot.vertexShader, slot.fragmentShader})
            if (object) ext.glDeleteObjectARB(object);
}

std::unique_ptr<Vividoru3D>& Engine3DSlot() {
    // Never destroyed: the program's end may still release the engine after static destructors ran.
    static auto* engine = new std::unique_ptr<Vividoru3D>;
    return *engine;
}

Vividoru3D& Engine3D() { return *Engine3DSlot(); }

void CreateEngine3D() { Engine3DSlot() = std::make_unique<Vividoru3D>(Device(), Settings().debugMode != 0); }

void DestroyEngine3D() { Engine3DSlot().reset(); }

void LeaveStencilMode() {
    if (Engine3DSlot()) ShadowMode(0);
}

void ResetEngine3DFrame() {
    if (!Engine3DSlot()) return;
    Engine3D().meshesDrawn = 0;
    ShaderUse(-1);
}
