// Vividoru3D: the 3D engine object on the graphics device: shader slots, the 3D frame state, the
// lights, the object transform and the meshes. Created at start-up, destroyed while the GL context
// still exists.
#pragma once

#include "runtime/core/opengl_vividoru.h"
#include "runtime/engine3d/matrix4.h"
#include "runtime/engine3d/mesh_object.h"
#include "runtime/engine3d/object_collection.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

constexpr int32_t kShaderSlots = 255;
constexpr int32_t kMaxMeshes = 65536;

struct ShaderSlot {
    uint32_t program = 0;
    uint32_t vertexShader = 0;
    uint32_t fragmentShader = 0;
};

// a x + b y + c z + d >= 0 inside.
struct Plane {
    float a, b, c, d;
};

class Vividoru3D {
  public:
    Vividoru3D(OpenGLVividoru& device, bool debugMode);
    virtual ~Vividoru3D();
    Vividoru3D(const Vividoru3D&) = delete;
    Vividoru3D& operator=(const Vividoru3D&) = delete;

    OpenGLVividoru& device;
    bool debugMode;

    // Shader slots
    std::array<ShaderSlot, kShaderSlots> shaders{};
    int32_t currentShader = -1;
    bool shaderSupportMessageDue = true;

    // 3D frame
    float nearPlane = 1;
    float farPlane = 1000;
    float viewAngleTangent = 0;
    std::array<float, 3> cameraUp{0, 1, 0};
    std::array<float, 3> cameraEye{0, 0, 0};
    std::array<float, 3> cameraTarget{0, 0, -1};
    Matrix4 viewMatrix = IdentityMatrix();
    Matrix4 projection = IdentityMatrix();
    std::array<Plane, 6> frustumPlanes{}; // right, left, bottom, top, far, near
    int8_t cullMode = 0;
    uint8_t stencilMode = 0;
    Matrix4 objectTransform = IdentityMatrix();
    std::vector<Matrix4> objectStack;

    // Lights
    uint8_t enabledLights = 0;
    bool shadowLightOn = false;
    std::array<float, 3> shadowLightPosition{};
    std::array<float, 3> shadowLightColour{};
    uint8_t shadowType = 1;

    // Meshes and the per-frame count of drawn meshes
    std::vector<MeshObject> meshes;
    int32_t meshesDrawn = 0;
};

// The engine of the started runtime; null before start-up and after program end.
std::unique_ptr<Vividoru3D>& Engine3DSlot();
Vividoru3D& Engine3D();

// Start-up, frame loop and end steps.
void CreateEngine3D();
void DestroyEngine3D();
// Finishes a pending shadow pass.
void LeaveStencilMode();
// The per-frame reset: no meshes drawn yet, the fixed pipeline.
void ResetEngine3DFrame();

// Shared inside the engine: the frustum of the current projection and view, and the binding of
// the two texture units (telling a current shader which unit is which).
void ComputeFrustumPlanes(Vividoru3D& engine);
void BindMeshTextures(uint32_t textureA, uint32_t textureB);
// The mesh, grown into existence when create is set; null outside 0..65535 or not yet made.
MeshObject* MeshSlot(int32_t mesh, bool create);
// A uniform of the current shader set only when the program uses it, without a message.
void ShaderSetIntQuiet(const char* name, int32_t value);
