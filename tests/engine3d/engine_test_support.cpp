// What the 3D tests share.
#include "tests/engine3d/engine_test_support.h"

#include "runtime/attach_subsystems.h"
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/support/headless.h"

#include <gtest/gtest.h>
#include <sstream>

std::string QuadText(uint32_t colour, const std::array<Corner, 4>& corners, const Corner& normal) {
    std::ostringstream out;
    out << "KYDA 1.1\n4  0 0  1 0  1 1  0 1\n1\n"
        << (colour & 255) << " " << (colour >> 8 & 255) << " " << (colour >> 16 & 255)
        << " 4  0 0  1 1  2 2  3 3\n1\n4\n";
    for (const Corner& c : corners)
        out << c[0] << " " << c[1] << " " << c[2] << " " << normal[0] << " " << normal[1] << " " << normal[2] << "\n";
    return out.str();
}

std::array<Corner, 4> Square(float half, float z, bool clockwise) {
    std::array<Corner, 4> corners{{{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}}};
    if (clockwise) std::swap(corners[1], corners[3]);
    return corners;
}

void StartEngine() {
    AttachSubsystems();
    StartRuntime();
    SetViewport(0, 0, 0, 0);
    ClearScreen();
}

void BeginScene(double nearPlane, double farPlane, double fov) {
    StartEngine();
    Scene3DBegin(nearPlane, farPlane, fov);
    CameraSet(0, 0, 5, 0, 0, 0);
}

void LoadQuad(int32_t mesh, uint32_t colour, const std::array<Corner, 4>& corners, const Corner& normal) {
    if (!Runtime().device) StartEngine();
    std::string path = WriteTempFile("quad" + std::to_string(mesh) + ".kyd", QuadText(colour, corners, normal));
    ASSERT_EQ(MeshLoad(mesh, path.c_str()), 1);
}
