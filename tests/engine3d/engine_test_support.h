// What the 3D tests share: KYD texts and files they write, and the started runtime with the engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Corner = std::array<float, 3>;

// A KYDA 1.1 text of one face of one frame: the corners in order at u, v (0, 0), (1, 0), (1, 1) and
// (0, 1), one colour, one normal for all.
std::string QuadText(uint32_t colour, const std::array<Corner, 4>& corners, const Corner& normal = {0, 0, 1});
// A square of side 2·half at depth z, counter-clockwise seen from +z (clockwise when mirrored).
std::array<Corner, 4> Square(float half, float z, bool clockwise = false);

// The runtime with every subsystem attached, once per process; a fresh full 640 x 480 viewport.
void StartEngine();
// StartEngine, then a frame with the camera at z = 5 looking at the origin; by default near 1, far 9,
// 90°, so the origin is at mid depth and 48 pixels a unit.
void BeginScene(double nearPlane = 1, double farPlane = 9, double fov = 90);
// mesh = a quad of the colour and normal, loaded through a KYD file; the runtime is started first.
void LoadQuad(int32_t mesh, uint32_t colour, const std::array<Corner, 4>& corners, const Corner& normal = {0, 0, 1});
