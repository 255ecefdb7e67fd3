// LightSet: the eight fixed-function lights in world coordinates, and the shadow light.
#include "runtime/core/core.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"

#include <GL/gl.h>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float kTinySquaredLength = 0.0000001f;

std::array<float, 3> NormalisedDirection(double dx, double dy, double dz) {
    std::array<float, 3> d{static_cast<float>(dx), static_cast<float>(dy), static_cast<float>(dz)};
    float squared = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    if (squared > kTinySquaredLength)
        for (float& c : d) c /= std::sqrt(squared);
    return d;
}

std::array<float, 4> ColourOf(int32_t colour) {
    return {static_cast<float>(colour & 255) / 255.0f, static_cast<float>((colour >> 8) & 255) / 255.0f,
            static_cast<float>((colour >> 16) & 255) / 255.0f, 1.0f};
}

void SetShadowLight(Vividoru3D& engine, int32_t number, int32_t colour, double x, double y, double z, double cutoff) {
    cutoff = std::fabs(cutoff);
    engine.shadowLightPosition = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    engine.shadowLightOn = cutoff >= 0.00001;
    std::array<float, 4> rgb = ColourOf(colour);
    engine.shadowLightColour = {rgb[0], rgb[1], rgb[2]};
    if (number == -3) {
        engine.shadowType = 3;
        ShadowMode(engine.shadowLightOn ? 1 : 0);
    } else {
        engine.shadowType = number == -1 ? 1 : 2;
    }
}

// Debug mode: where each light is, and where a spot light points.
void DrawLightMarker(const float position[3], const float* direction) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_POINT_BIT | GL_LINE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glPointSize(40);
    glColor3ub(0xFF, 0xC8, 0x80);
    glBegin(GL_POINTS);
    glVertex3fv(position);
    glEnd();
    if (direction) {
        glLineWidth(3);
        glColor3ub(0xE1, 0xAA, 0x6C);
        glBegin(GL_LINES);
        glVertex3fv(position);
        glVertex3f(position[0] + 500 * direction[0], position[1] + 500 * direction[1],
                   position[2] + 500 * direction[2]);
        glEnd();
    }
    glPopAttrib();
}

} // namespace

void LightSet(int32_t number, int32_t colour, double x, double y, double z, double dx, double dy, double dz,
              double cutoff) {
    Vividoru3D& engine = Engine3D();
    if (number < 0) {
        SetShadowLight(engine, number, colour, x, y, z, cutoff);
        return;
    }
    int index = number & 7;
    GLenum light = GL_LIGHT0 + static_cast<GLenum>(index);
    FlushGL();
    if (cutoff == 0) {
        glDisable(light);
        engine.enabledLights &= static_cast<uint8_t>(~(1u << index));
        if (engine.enabledLights == 0) glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    glEnable(light);
    engine.enabledLights |= static_cast<uint8_t>(1u << index);
    glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    const std::array<float, 4> lightColour = ColourOf(colour);
    const float noSpecular[4] = {0, 0, 0, 1};
    const float position[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
    bool headLight = x == 0 && y == 0 && z == 0 && dx == 0 && dy == 0 && dz == 0;
    bool spot = !headLight && cutoff != 180 && cutoff <= 90;
    std::array<float, 3> direction = NormalisedDirection(dx, dy, dz);

    // Positions are world coordinates under the camera's matrix, the head light's in eye space; the
    // program's model-view matrix is left as it was.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (headLight) {
        glLoadIdentity();
        const float ahead[4] = {0, 0, 1, 0};
        glLightfv(light, GL_POSITION, ahead);
        glLightfv(light, GL_DIFFUSE, lightColour.data());
        glLightfv(light, GL_SPECULAR, noSpecular);
        glLightf(light, GL_SPOT_CUTOFF, 180);
    } else if (cutoff == 180) {
        glLoadMatrixf(engine.viewMatrix.data());
        const float w0[4] = {-direction[0], -direction[1], -direction[2], 0};
        glLightf(light, GL_SPOT_CUTOFF, 180);
        glLightfv(light, GL_POSITION, w0);
        glLightfv(light, GL_DIFFUSE, lightColour.data());
        glLightfv(light, GL_SPECULAR, noSpecular);
    } else {
        glLoadMatrixf(engine.viewMatrix.data());
        const float w1[4] = {position[0], position[1], position[2], 1};
        // A negative cutoff would be refused by GL: it is clamped into a spot light's range.
        glLightf(light, GL_SPOT_CUTOFF, spot ? static_cast<float>(std::clamp(cutoff, 0.0, 90.0)) : 180.0f);
        glLightfv(light, GL_POSITION, w1);
        if (spot) glLightfv(light, GL_SPOT_DIRECTION, direction.data());
        glLightfv(light, GL_DIFFUSE, lightColour.data());
        glLightfv(light, GL_SPECULAR, lightColour.data());
    }
    if (engine.debugMode) DrawLightMarker(position, spot ? direction.data() : nullptr);
    glPopMatrix();
}
