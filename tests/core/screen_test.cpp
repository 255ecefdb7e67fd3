// The screen: the GL state record against GL's own state, pixel-aligned matrices, viewports, the frame
// loop's quit keys, close box and pacing, and kept frames.
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/gl_state.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// Colour, blending on and its factors, alpha test on with its function and reference, face culling on,
// the textures bound on units 0 and 1 and texturing on for each, the magnifying filter and wrap mode
// of unit 0's texture, and the front face: read from GL itself.
std::vector<double> ReadGl() {
    std::vector<double> gl(18);
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
    GLint values[3];
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &values[0]);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &values[1]);
    glGetIntegerv(GL_FRONT_FACE, &values[2]);
    std::copy(values, values + 3, gl.begin() + 15);
    return gl;
}

std::vector<uint32_t> Corners() {
    return {BackBufferPixel(0, 0), BackBufferPixel(639, 479), BackBufferPixel(0, 479), BackBufferPixel(639, 0)};
}

} // namespace

// A request the record wrongly thinks needless, or one sent to the wrong unit or texture, shows as a
// difference. Every kind is asked for right after the record forgets, so that all of it is known.
TEST(GlState, GlHoldsWhatWasLastAskedForAfterRandomRequests) {
    StartRuntime();
    GLuint textures[2];
    glGenTextures(2, textures);
    const GLenum sources[] = {GL_ONE, GL_SRC_ALPHA}, destinations[] = {GL_ZERO, GL_ONE_MINUS_SRC_ALPHA};
    const GLenum functions[] = {GL_GREATER, GL_ALWAYS}, filters[] = {GL_NEAREST, GL_LINEAR};
    const GLenum wraps[] = {GL_REPEAT, GL_CLAMP_TO_EDGE}, faces[] = {GL_CCW, GL_CW};
    std::map<double, std::pair<double, double>> params; // texture -> filter, wrap
    for (GLuint t : textures) params[t] = {GL_LINEAR, GL_REPEAT};
    std::vector<double> a = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::mt19937 random(24);
    for (int step = 0; step < 3000; ++step) {
        const bool all = step % 40 == 0;
        const int v = int(random() % 2), w = int(random() % 2);
        const double level = double(random() % 3) / 2;
        for (int op = all ? 0 : int(random() % 13); op < 13; op += all ? 1 : 13) {
            if (op == 0) GlColour(float(a[0] = level), 1, float(a[2] = v), 1);
            if (op == 1) GlBlend((a[4] = v) != 0);
            if (op == 2) GlBlendFunc(GLenum(a[5] = sources[v]), GLenum(a[6] = destinations[w]));
            if (op == 3) GlAlphaTest((a[7] = v) != 0);
            if (op == 4) GlAlphaFunc(GLenum(a[8] = functions[v]), float(a[9] = level));
            if (op == 5) GlCullFace((a[10] = v) != 0);
            if (op == 6 || op == 7) GlBindTexture(op - 6, GLuint(a[5 + op] = textures[v]));
            if (op == 8 || op == 9) GlEnableTexture(op - 8, (a[5 + op] = v) != 0);
            if (op == 10) GlTextureFilter(GLint(params[a[11]].first = filters[v]));
            if (op == 11) GlTextureWrap(GLint(params[a[11]].second = wraps[v]));
            if (op == 12) GlFrontFace(GLenum(a[17] = faces[v]));
        }
        if (step % 40 == 39) FlushGL();
        std::tie(a[15], a[16]) = params[a[11]];
        ASSERT_EQ(ReadGl(), a) << "step " << step;
    }
    GlBindTexture(0, textures[0]);
    GlDeleteTexture(textures[0]);
    EXPECT_EQ(std::pair(textures[0], GlBoundTexture()), std::pair(0u, 0u)) << "unbound, and the name cleared";
}

// The model-view matrix with one element changed, column by column as GL keeps it: one unit a pixel at
// whole-pixel offsets, mirrored or not, in viewports of any size, is aligned; any other scale, a shear,
// perspective or a half-pixel shift is not.
TEST(GlState, PixelAlignedMatricesAreThoseSetViewportLeavesUpToWholePixelShifts) {
    StartRuntime();
    const std::tuple<int, float, bool> cases[] = {
        {0, 1, true},      {12, -7, true},    {13, 12, true}, {0, -1, true},    {12, 0.5f, false},
        {13, 0.5f, false}, {0, 2, false},     {5, 2, false},  {4, 0.5f, false}, {1, 0.5f, false},
        {3, 0.01f, false}, {7, 0.01f, false}, {15, 2, false}};
    for (int size : {0, 33})
        for (const auto& [index, value, aligned] : cases) {
            SetViewport(3, 1, size, size / 2);
            GLfloat m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
            m[index] = value;
            glMultMatrixf(m);
            GlForgetState();
            EXPECT_EQ(GlPixelAligned(), aligned) << size << " " << index << " " << value;
        }
    SetViewport(0, 0, 0, 0);
}

// Frame periods are whole frames a second, 2 ms where none is asked for; missed periods are skipped,
// not caught up. (How long and at what cost a frame waits is measured in bench/core/frame_bench.cpp.)
// Viewports count from the screen's top-left; one of no size is the whole screen. A kept frame shows the
// last shown picture again, upright, from the first kept frame's next copy on; an expose asks for a
// drawn one.
TEST(FrameLoop, FramePeriodsViewportsFromTheTopLeftAndKeptFramesShowingTheLastShownPicture) {
    StartRuntime();
    OpenGLVividoru& device = Device();
    EXPECT_NEAR(device.framePeriod, 1000.0 / 60, 1e-9) << "60 a second at first";
    for (auto [fps, period] : {std::pair(0.0, 2.0), {-5.0, 2.0}, {30.9, 1000.0 / 30}, {499.5, 1000.0 / 499}}) {
        LimitFps(fps);
        EXPECT_NEAR(device.framePeriod, period, 1e-9) << fps;
    }
    device.nextFrameTime = ReadClockMs() - 1000;
    EXPECT_GE(PresentFrame(device), 1.0);
    EXPECT_NEAR(device.nextFrameTime, ReadClockMs(), device.framePeriod);
    LimitFps(60);
    for (auto [x, y, size] : {std::tuple(0, 0, 0), {30, 20, 1}}) {
        SetViewport(x, y, size, size);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_TEXTURE_2D);
        glColor3ub(255, 0, 0);
        glRecti(0, 2, 2, 0); // wound like the runtime's own quads
        EXPECT_EQ(std::vector<uint32_t>({BackBufferPixel(x, y), BackBufferPixel(x + 2, y + 2),
                                         BackBufferPixel(x, 479 - y), BackBufferPixel(x + size, y)}),
                  std::vector<uint32_t>({0xFF, 0, 0, size ? 0u : 0xFFu}))
            << x;
    }
    SetViewport(0, 0, 0, 0);
    KeepScreen();
    EXPECT_EQ(ScreenNeedsDrawing(), 1) << "nothing was copied yet";
    GlEnableTexture(0, false);
    glColor3ub(255, 0, 0);
    glRecti(0, 2, 2, 0);
    glColor3ub(0, 255, 0);
    glRecti(638, 480, 640, 478);
    ShowScreen();
    EXPECT_EQ(Corners(), std::vector<uint32_t>(4, 0)) << "shown frames leave a cleared back buffer";
    GLuint black = 0; // a texture left on unit 1 must not tint the kept picture
    glGenTextures(1, &black);
    GlBindTexture(0, black);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, "\0\0\0");
    GlTextureFilter(GL_NEAREST);
    GlBindTexture(1, black);
    GlEnableTexture(1, true);
    KeepScreen();
    KeepScreen();
    EXPECT_EQ(ScreenNeedsDrawing(), 0) << "kept twice, the picture is in the back buffer already";
    EXPECT_EQ(Corners(), (std::vector<uint32_t>{0xFF, 0xFF00, 0, 0}));
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    KeepScreen();
    EXPECT_EQ(ScreenNeedsDrawing(), 1);
    ShowScreen();
}

// Escape ends the program unless switched off, left Alt+F4 always, F4 alone never; the close box while
// the frame waits ends it there, not at the next ShowScreen.
TEST(FrameLoop, CloseBoxEscapeAndLeftAltF4EndTheProgramWithZeroF4AloneDoesNot) {
    EXPECT_EXIT(
        {
            StartRuntime();
            LimitFps(1);
            ShowScreen();
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
            PresentFrame(Device());
            std::exit(3);
        },
        testing::ExitedWithCode(0), "");
    // clang-format off
    const std::tuple<bool, std::vector<int>, int> presses[] = {
        {true, {SDL_SCANCODE_ESCAPE}, 0}, {false, {SDL_SCANCODE_ESCAPE}, 3},
        {false, {SDL_SCANCODE_LALT, SDL_SCANCODE_F4}, 0}, {false, {SDL_SCANCODE_F4}, 3}};
    // clang-format on
    for (const auto& [escapeQuits, keys, status] : presses)
        EXPECT_EXIT(
            {
                StartRuntime();
                Runtime().escapeQuits = escapeQuits;
                for (int key : keys) PushKey(key, true);
                ShowScreen();
                std::exit(3);
            },
            testing::ExitedWithCode(status), "")
            << keys.back() << " " << escapeQuits;
}
