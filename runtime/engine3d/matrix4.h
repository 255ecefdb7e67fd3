// Column-major 4 x 4 float matrices as OpenGL stores them, and the few operations the engine needs.
#pragma once

#include <array>

using Matrix4 = std::array<float, 16>;

Matrix4 IdentityMatrix();
// a × b: b applies first.
Matrix4 MultiplyMatrix(const Matrix4& a, const Matrix4& b);
Matrix4 TranslationMatrix(float x, float y, float z);
Matrix4 ScaleMatrix(float x, float y, float z);
// Degrees about the axis (x 0, y 1, z 2).
Matrix4 AxisRotationMatrix(int axis, float degrees);
// The point (x, y, z, 1) transformed.
std::array<float, 3> TransformPoint(const Matrix4& m, const float point[3]);
