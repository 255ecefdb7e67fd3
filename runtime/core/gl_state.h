// The GL state the runtime sets through one record, so that only real changes reach GL (Mesa ends its
// vertex batch at every state call, even one that changes nothing), and the quad batch: textured
// quads collected in a client-side array and drawn with one call per run of equal state.
//
// Rules for the runtime's own GL code: state of the kinds below is set only through these calls;
// any other GL call that draws, reads, clears, changes a texture's contents or changes other state
// first calls GlFlushQuads; code that leaves the matrices or the viewport changed also forgets the state.
// Programs with GL calls of their own use FlushGL (core.h).
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Filters and wrap modes of one texture object; 0 = not known.
struct GlTextureParams {
    GLint minFilter = 0;
    GLint magFilter = 0;
    GLint wrap = 0;
};

struct GlBatchVertex {
    float x, y, z, u, v;
};

// -1 (or NaN for the colour) marks a value the record does not know: the next request reaches GL.
struct GlState {
    static constexpr int kUnits = 2;
    int64_t boundTexture[kUnits] = {-1, -1};
    int8_t textureEnabled[kUnits] = {-1, -1};
    // Unit 0 is active between calls; -1 until the record has selected it once.
    int8_t activeUnit = -1;
    std::unordered_map<GLuint, GlTextureParams> textures;
    int8_t blend = -1;
    GLenum blendSource = 0, blendDestination = 0;
    int8_t alphaTest = -1;
    GLenum alphaFunction = 0;
    float alphaReference = -1;
    int8_t cullFace = -1;
    GLenum frontFace = 0;
    int64_t framebuffer = -1;
    float colour[4] = {-1, -1, -1, -1};
    int8_t pixelAligned = -1;

    // The batch: vertices of one primitive kind (GL_QUADS, or GL_TRIANGLES from quads given as fans);
    // triangle runs draw with the texture clamped to its edges.
    std::vector<GlBatchVertex> vertices;
    size_t vertexCount = 0;
    GLenum batchMode = GL_QUADS;
    // Draws the batch has issued, kept when the rest is forgotten: what tests count runs by.
    uint64_t batchDraws = 0;
};

GlState& GlStateRecord();

// Every value becomes unknown, for state that changed behind the record's back; quads not drawn yet
// are dropped (callers flush first when they should be drawn).
void GlForgetState();
// Draws the collected quads; without a GL context they are dropped.
void GlFlushQuads();
// Room for count vertices of this primitive kind at the end of the batch (a run of another kind is
// drawn first); the caller fills them at once.
GlBatchVertex* GlBatchQuads(GLenum mode, size_t count);

void GlBindTexture(int unit, GLuint texture);
void GlEnableTexture(int unit, bool on);
// The texture bound on unit 0 now, asked from GL when the record does not know.
GLuint GlBoundTexture();
// Both filters, or both wrap modes, of the texture bound on unit 0.
void GlTextureFilter(GLint filter);
void GlTextureWrap(GLint wrap);
// Deletes the texture (the binding falls back to 0 where it was bound) and sets the name to 0.
void GlDeleteTexture(GLuint& texture);
void GlBlend(bool on);
bool GlBlendEnabled();
void GlBlendFunc(GLenum source, GLenum destination);
void GlAlphaTest(bool on);
void GlAlphaFunc(GLenum function, float reference);
void GlCullFace(bool on);
void GlFrontFace(GLenum mode);
void GlBindFramebuffer(GLuint framebuffer);
// The matrices and viewport put 2D coordinates on pixels one unit to one pixel at whole-pixel offsets,
// as SetViewport leaves them; asked from GL when the record does not know.
bool GlPixelAligned();
// The current colour, 0..1 per channel.
void GlColour(float r, float g, float b, float a);
// An array draw with colours leaves the current colour undefined.
void GlColourChanged();
