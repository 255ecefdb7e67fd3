// The object transform: where the next mesh is drawn, relative to the world, and its stack.
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"

namespace {

void Apply(const Matrix4& m) {
    Vividoru3D& engine = Engine3D();
    engine.objectTransform = MultiplyMatrix(engine.objectTransform, m);
}

} // namespace

void ObjectReset() { Engine3D().objectTransform = IdentityMatrix(); }

void ObjectMove(double x, double y, double z) {
    Apply(TranslationMatrix(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
}

void ObjectTurn(double pitch, double yaw, double roll) {
    Apply(MultiplyMatrix(AxisRotationMatrix(2, static_cast<float>(roll)),
                         MultiplyMatrix(AxisRotationMatrix(1, static_cast<float>(yaw)),
                                        AxisRotationMatrix(0, static_cast<float>(pitch)))));
}

void ObjectScale(double x, double y, double z) {
    Apply(ScaleMatrix(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
}

void ObjectPush() {
    Vividoru3D& engine = Engine3D();
    engine.objectStack.push_back(engine.objectTransform);
}

void ObjectPop() {
    Vividoru3D& engine = Engine3D();
    if (engine.objectStack.empty()) return;
    engine.objectTransform = engine.objectStack.back();
    engine.objectStack.pop_back();
}
