// The GL state record and the quad batch.
#include "runtime/core/gl_state.h"

#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"

#include <GL/glext.h>
#include <cmath>

namespace {

// Mesa draws a short run sent vertex by vertex into its own mapped buffer for less than an array
// draw costs it: runs of a few quads, as alternating textures give, go that way.
constexpr size_t kImmediateVertices = 12;

bool ContextReady() {
    RuntimeState& rt = Runtime();
    return rt.device && rt.device->contextReady;
}

// The record leaves unit 0 active, so that texture calls made directly after it reach unit 0.
void SelectUnit(GlState& s, int unit) {
    if (s.activeUnit == unit) return;
    GlExtensions& ext = GlExt();
    if (ext.glActiveTextureARB) ext.glActiveTextureARB(static_cast<GLenum>(GL_TEXTURE0_ARB + unit));
    s.activeUnit = static_cast<int8_t>(unit);
}

void SetCapability(int8_t& known, GLenum capability, bool on) {
    if (known == static_cast<int8_t>(on)) return;
    GlFlushQuads();
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
    known = static_cast<int8_t>(on);
}

// The parameters of the texture bound on unit 0; null when the record does not know which it is.
GlTextureParams* BoundParams(GlState& s) {
    if (s.boundTexture[0] < 0) return nullptr;
    return &s.textures[static_cast<GLuint>(s.boundTexture[0])];
}

void SetWrap(GlState& s, GLint wrap) {
    GlTextureParams* params = BoundParams(s);
    if (params && params->wrap == wrap) return;
    SelectUnit(s, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    if (params) params->wrap = wrap;
}

// The product of the projection and model-view matrices, on the x and y of points with z 0: no
// rotation, shear or perspective, one pixel per unit in the viewport, pixel centres on unit centres.
bool MatricesPixelAligned() {
    GLfloat p[16], m[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, p);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    glGetIntegerv(GL_VIEWPORT, viewport);
    auto at = [&](int row, int column) { // column-major, as GL keeps them
        float sum = 0;
        for (int k = 0; k < 4; ++k) sum += p[k * 4 + row] * m[column * 4 + k];
        return sum;
    };
    auto near = [](float a, float b) { return std::fabs(a - b) < 1e-4f; };
    auto whole = [&](float a) { return near(a, std::round(a)); };
    float halfWidth = viewport[2] * 0.5f, halfHeight = viewport[3] * 0.5f;
    return near(at(0, 1), 0) && near(at(1, 0), 0) && near(at(3, 0), 0) && near(at(3, 1), 0) && near(at(3, 3), 1) &&
           near(std::fabs(at(0, 0) * halfWidth), 1) && near(std::fabs(at(1, 1) * halfHeight), 1) &&
           whole((at(0, 3) + 1) * halfWidth) && whole((at(1, 3) + 1) * halfHeight);
}

} // namespace

GlState& GlStateRecord() {
    static GlState* state = new GlState;
    return *state;
}

void GlForgetState() {
    GlState& s = GlStateRecord();
    GlState fresh;
    // The batch's buffer stays for the next quads.
    fresh.vertices.swap(s.vertices);
    fresh.batchDraws = s.batchDraws;
    s = std::move(fresh);
}

void FlushGL() {
    GlFlushQuads();
    GlForgetState();
}

void GlFlushQuads() {
    GlState& s = GlStateRecord();
    if (s.vertexCount == 0) return;
    size_t count = s.vertexCount;
    s.vertexCount = 0;
    if (!ContextReady()) return;
    ++s.batchDraws;
    bool clamped = s.batchMode == GL_TRIANGLES;
    if (clamped) SetWrap(s, GL_CLAMP_TO_EDGE);
    const GlBatchVertex* first = s.vertices.data();
    if (count <= kImmediateVertices) {
        glBegin(s.batchMode);
        for (const GlBatchVertex* v = first; v != first + count; ++v) {
            glTexCoord2f(v->u, v->v);
            glVertex3f(v->x, v->y, v->z);
        }
        glEnd();
    } else {
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glVertexPointer(3, GL_FLOAT, sizeof(GlBatchVertex), &first->x);
        glTexCoordPointer(2, GL_FLOAT, sizeof(GlBatchVertex), &first->u);
        glDrawArrays(s.batchMode, 0, static_cast<GLsizei>(count));
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    // Textures repeat between draws, as the 3D part expects of them.
    if (clamped) SetWrap(s, GL_REPEAT);
}

GlBatchVertex* GlBatchQuads(GLenum mode, size_t count) {
    GlState& s = GlStateRecord();
    if (s.batchMode != mode) {
        GlFlushQuads();
        s.batchMode = mode;
    }
    if (s.vertices.size() < s.vertexCount + count) s.vertices.resize((s.vertexCount + count) * 2);
    GlBatchVertex* room = &s.vertices[s.vertexCount];
    s.vertexCount += count;
    return room;
}

void GlBindTexture(int unit, GLuint texture) {
    GlState& s = GlStateRecord();
    if (s.boundTexture[unit] == static_cast<int64_t>(texture)) return;
    GlFlushQuads();
    SelectUnit(s, unit);
    glBindTexture(GL_TEXTURE_2D, texture);
    SelectUnit(s, 0);
    s.boundTexture[unit] = texture;
}

void GlEnableTexture(int unit, bool on) {
    GlState& s = GlStateRecord();
    if (s.textureEnabled[unit] == static_cast<int8_t>(on)) return;
    GlFlushQuads();
    SelectUnit(s, unit);
    if (on)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    SelectUnit(s, 0);
    s.textureEnabled[unit] = static_cast<int8_t>(on);
}

GLuint GlBoundTexture() {
    GlState& s = GlStateRecord();
    if (s.boundTexture[0] >= 0) return static_cast<GLuint>(s.boundTexture[0]);
    SelectUnit(s, 0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    s.boundTexture[0] = bound;
    return static_cast<GLuint>(bound);
}

void GlTextureFilter(GLint filter) {
    GlState& s = GlStateRecord();
    GlTextureParams* params = BoundParams(s);
    if (params && params->minFilter == filter && params->magFilter == filter) return;
    GlFlushQuads();
    SelectUnit(s, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    if (params) params->minFilter = params->magFilter = filter;
}

void GlTextureWrap(GLint wrap) {
    GlState& s = GlStateRecord();
    GlTextureParams* params = BoundParams(s);
    if (params && params->wrap == wrap) return;
    GlFlushQuads();
    SetWrap(s, wrap);
}

void GlDeleteTexture(GLuint& texture) {
    if (texture == 0) return;
    GlFlushQuads();
    GlState& s = GlStateRecord();
    glDeleteTextures(1, &texture);
    // GL hands the name out again: what the record knew of it no longer holds.
    s.textures.erase(texture);
    for (int64_t& bound : s.boundTexture)
        if (bound == static_cast<int64_t>(texture)) bound = 0;
    texture = 0;
}

void GlBlend(bool on) { SetCapability(GlStateRecord().blend, GL_BLEND, on); }

bool GlBlendEnabled() {
    GlState& s = GlStateRecord();
    if (s.blend < 0) s.blend = static_cast<int8_t>(glIsEnabled(GL_BLEND) == GL_TRUE);
    return s.blend == 1;
}

void GlBlendFunc(GLenum source, GLenum destination) {
    GlState& s = GlStateRecord();
    if (s.blendSource == source && s.blendDestination == destination) return;
    GlFlushQuads();
    glBlendFunc(source, destination);
    s.blendSource = source;
    s.blendDestination = destination;
}

void GlAlphaTest(bool on) { SetCapability(GlStateRecord().alphaTest, GL_ALPHA_TEST, on); }

void GlAlphaFunc(GLenum function, float reference) {
    GlState& s = GlStateRecord();
    if (s.alphaFunction == function && s.alphaReference == reference) return;
    GlFlushQuads();
    glAlphaFunc(function, reference);
    s.alphaFunction = function;
    s.alphaReference = reference;
}

void GlCullFace(bool on) { SetCapability(GlStateRecord().cullFace, GL_CULL_FACE, on); }

void GlFrontFace(GLenum mode) {
    GlState& s = GlStateRecord();
    if (s.frontFace == mode) return;
    GlFlushQuads();
    glFrontFace(mode);
    s.frontFace = mode;
}

void GlBindFramebuffer(GLuint framebuffer) {
    GlState& s = GlStateRecord();
    GlExtensions& ext = GlExt();
    if (!ext.glBindFramebufferEXT || s.framebuffer == static_cast<int64_t>(framebuffer)) return;
    GlFlushQuads();
    ext.glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    s.framebuffer = framebuffer;
}

void GlColour(float r, float g, float b, float a) {
    GlState& s = GlStateRecord();
    if (s.colour[0] == r && s.colour[1] == g && s.colour[2] == b && s.colour[3] == a) return;
    GlFlushQuads();
    glColor4f(r, g, b, a);
    s.colour[0] = r;
    s.colour[1] = g;
    s.colour[2] = b;
    s.colour[3] = a;
}

bool GlPixelAligned() {
    GlState& s = GlStateRecord();
    if (s.pixelAligned < 0 && ContextReady()) s.pixelAligned = static_cast<int8_t>(MatricesPixelAligned());
    return s.pixelAligned == 1;
}

void GlColourChanged() { GlStateRecord().colour[0] = -1; }
