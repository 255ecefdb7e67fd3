// Column-major 4 x 4 matrices.
#include "runtime/engine3d/matrix4.h"

#include <cmath>
#include <numbers>

Matrix4 IdentityMatrix() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix4 MultiplyMatrix(const Matrix4& a, const Matrix4& b) {
    Matrix4 m{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k) sum += a[k * 4 + row] * b[column * 4 + k];
            m[column * 4 + row] = sum;
        }
    return m;
}

Matrix4 TranslationMatrix(float x, float y, float z) {
    Matrix4 m = IdentityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Matrix4 ScaleMatrix(float x, float y, float z) {
    Matrix4 m = IdentityMatrix();
    m[0] = x;
    m[5] = y;
    m[10] = z;
    return m;
}

Matrix4 AxisRotationMatrix(int axis, float degrees) {
    float r = degrees * std::numbers::pi_v<float> / 180.0f;
    float c = std::cos(r), s = std::sin(r);
    Matrix4 m = IdentityMatrix();
    int a = (axis + 1) % 3, b = (axis + 2) % 3; // the plane the rotation turns, right-handed
    m[a * 4 + a] = c;
    m[a * 4 + b] = s;
    m[b * 4 + a] = -s;
    m[b * 4 + b] = c;
    return m;
}

std::array<float, 3> TransformPoint(const Matrix4& m, const float p[3]) {
    std::array<float, 3> out{};
    for (int row = 0; row < 3; ++row) out[row] = m[row] * p[0] + m[4 + row] * p[1] + m[8 + row] * p[2] + m[12 + row];
    return out;
}
