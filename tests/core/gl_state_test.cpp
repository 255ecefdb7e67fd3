// The GL state record: after any sequence of requests GL itself holds what was last asked for.
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/gl_state.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Colour, blending on and its factors, alpha test on with its function and reference, face culling on,
// then the textures bound on units 0 and 1 and texturing on for each: read from GL itself.
std::vector<double> ReadGl() {
    std::vector<double> gl(15);
    double* at = gl.data();
    for (GLenum name : {GL_CURRENT_COLOR, GL_BLEND, GL_BLEND_SRC, GL_BLEND_DST, GL_ALPHA_TEST, GL_ALPHA_TEST_FUNC,
                        GL_ALPHA_TEST_REF, GL_CULL_FACE}) {
        glGetDoublev(name, at);
        at += name == GL_CURRENT_COLOR ? 4 : 1;
    }
    for (int unit : {1, 0}) {
        GlExt().glActiveTextureARB(GLenum(GL_TEXTURE0_ARB + unit));
        glGetDoublev(GL_TEXTURE_BINDING_2D, &gl[11 + unit]);
        glGetDoublev(GL_TEXTURE_2D, &gl[13 + unit]);
    }
    return gl;
}

} // namespace

// A request the record wrongly thinks needless, or one sent to the wrong unit, shows as a difference.
// Every kind is asked for right after the record forgets, so that all of it is known.
TEST(GlState, GlHoldsWhatWasLastAskedForAfterRandomRequests) {
    StartRuntime();
    GLuint textures[2];
    glGenTextures(2, textures);
    const GLenum sources[] = {GL_ONE, GL_SRC_ALPHA}, destinations[] = {GL_ZERO, GL_ONE_MINUS_SRC_ALPHA};
    const GLenum functions[] = {GL_GREATER, GL_ALWAYS};
    std::vector<double> a = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::mt19937 random(24);
    for (int step = 0; step < 3000; ++step) {
        const bool all = step % 40 == 0;
        const int v = int(random() % 2), w = int(random() % 2);
        const double level = double(random() % 3) / 2;
        for (int op = all ? 0 : int(random() % 10); op < 10; op += all ? 1 : 10) {
            if (op == 0) GlColour(float(a[0] = level), 1, float(a[2] = v), 1);
            if (op == 1) GlBlend((a[4] = v) != 0);
            if (op == 2) GlBlendFunc(GLenum(a[5] = sources[v]), GLenum(a[6] = destinations[w]));
            if (op == 3) GlAlphaTest((a[7] = v) != 0);
            if (op == 4) GlAlphaFunc(GLenum(a[8] = functions[v]), float(a[9] = level));
            if (op == 5) GlCullFace((a[10] = v) != 0);
            if (op == 6 || op == 7) GlBindTexture(op - 6, GLuint(a[5 + op] = textures[v]));
            if (op >= 8) GlEnableTexture(op - 8, (a[5 + op] = v) != 0);
        }
        if (step % 40 == 39) FlushGL();
        ASSERT_EQ(ReadGl(), a) << "step " << step;
    }
    FlushGL();
    glDeleteTextures(2, textures);
}
