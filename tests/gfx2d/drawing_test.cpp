// Drawing, read back from the frame: primitives, sprite and frame geometry, blend modes, polygons,
// and the GL calls the quad batch saves.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/gfx2d/gfx2d.h"
#include "tests/gfx2d/test_images.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <utility>

// GL calls counted while a test asks for it: state calls and draw calls. These definitions stand in
// for libGL's in this program and pass every call on to it.
namespace {
struct GlCallCount {
    bool on = false;
    int state = 0;
    int draws = 0;
};
GlCallCount calls;

template <class F>
F RealGl(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}
} // namespace

#define COUNTED_GL(kind, name, params, args)                                                                           \
    extern "C" void name params {                                                                                      \
        static auto real = RealGl<void(*) params>(#name);                                                              \
        if (calls.on) ++calls.kind;                                                                                    \
        real args;                                                                                                     \
    }
COUNTED_GL(state, glBindTexture, (GLenum target, GLuint texture), (target, texture))
COUNTED_GL(state, glEnable, (GLenum cap), (cap))
COUNTED_GL(state, glDisable, (GLenum cap), (cap))
COUNTED_GL(state, glTexParameteri, (GLenum target, GLenum parameter, GLint value), (target, parameter, value))
COUNTED_GL(state, glBlendFunc, (GLenum source, GLenum destination), (source, destination))
COUNTED_GL(state, glAlphaFunc, (GLenum function, GLclampf reference), (function, reference))
COUNTED_GL(state, glFrontFace, (GLenum mode), (mode))
COUNTED_GL(state, glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
COUNTED_GL(draws, glBegin, (GLenum mode), (mode))
COUNTED_GL(draws, glDrawArrays, (GLenum mode, GLint first, GLsizei count), (mode, first, count))

namespace {

// The colour covers exactly the rectangle (x0..x1, y0..y1) and nothing else.
void ExpectRect(uint32_t colour, int x0, int y0, int x1, int y1) {
    int inside = 0, outside = 0;
    FlushGL();
    std::vector<uint8_t> rgb(640 * 480 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint8_t* p = &rgb[(static_cast<size_t>(479 - y) * 640 + x) * 3];
            if (static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16) == colour)
                ++(x >= x0 && x <= x1 && y >= y0 && y <= y1 ? inside : outside);
        }
    EXPECT_EQ(inside, (x1 - x0 + 1) * (y1 - y0 + 1)) << x0 << "," << y0 << " - " << x1 << "," << y1;
    EXPECT_EQ(outside, 0);
}

// A w x h sprite whose quadrants are red (top-left), green (top-right), blue and white (bottom).
void LoadQuadrants(int32_t id, int32_t w, int32_t h) {
    ASSERT_TRUE(LoadPicture(id, Picture(w, h, [=](int32_t x, int32_t y) {
                                return y < h / 2 ? (x < w / 2 ? kRed : kGreen) : (x < w / 2 ? kBlue : kWhite);
                            })));
}

} // namespace

TEST(Primitives, RectanglesLinesAndPointsCoverExactlyTheirPixels) {
    StartDrawing();
    DrawFilledRect(10, 10, -5, 3, kRed);
    ExpectRect(kRed, 6, 10, 10, 12);
    DrawFilledRect(40, 40, 4, -2, kGreen);
    ExpectRect(kGreen, 40, 39, 43, 40);
    DrawLine(0, 0, 0, 0, kBlue);
    ExpectRect(kBlue, 0, 0, 0, 0);
    DrawLine(100, 50, 104, 50, kWhite);
    ExpectRect(kWhite, 100, 50, 104, 50);
    DrawPixel(200, 100, 0x123456);
    EXPECT_EQ(ReadPixel(200, 100), 0x123456);
    EXPECT_EQ(ReadPixel(201, 100), 0);
}

TEST(Primitives, KeyColourWritesAlphaZeroAndBlendsToNothing) {
    StartDrawing();
    // The back buffer here has no alpha bits; a screen's framebuffer object has.
    ASSERT_NE(GlExt().glGenFramebuffersEXT, nullptr);
    ScreenCreate(0, 500, 16, 8);
    ScreenUse(0);
    DrawFilledRect(0, 0, 8, 8, kKey);
    DrawFilledRect(8, 0, 8, 8, kGreen);
    uint8_t rgba[8] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(3, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glReadPixels(11, 3, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba + 4);
    ScreenUse(-1);
    EXPECT_EQ(rgba[0] | rgba[1] << 8 | rgba[2] << 16, kKey) << "opaque drawing shows the key colour";
    EXPECT_EQ(rgba[3], 0);
    EXPECT_EQ(rgba[7], 255);

    for (double mode : {1.0, -1.0}) {
        DrawFilledRect(20, 20, 8, 8, kGreen);
        SetBlendMode(mode);
        DrawFilledRect(20, 20, 8, 8, kKey);
        SetBlendMode(0);
        EXPECT_EQ(ReadPixel(23, 23), kGreen) << mode;
    }
}

TEST(BlendModes, OpaqueAdditiveAndTransparentGiveTheExpectedPixels) {
    StartDrawing();
    LoadQuadrants(10, 8, 8);
    DrawFilledRect(0, 0, 100, 20, 0x404040);
    SpriteDraw(10, 0, 0);
    EXPECT_EQ(ReadPixel(1, 1), kRed);
    SetBlendMode(2);
    SpriteDraw(10, 20, 0);
    EXPECT_EQ(ReadPixel(21, 1), 0x4040FF) << "additive at full strength";
    SetBlendMode(-0.25);
    SpriteDraw(10, 40, 0);
    uint32_t mixed = ReadPixel(41, 1);
    EXPECT_NEAR(static_cast<int>(mixed & 255), 112, 2) << "a quarter of red over grey 64";
    EXPECT_NEAR(static_cast<int>(mixed >> 8 & 255), 48, 2);
    DrawFilledRect(60, 0, 4, 4, 0xFFFFFF);
    EXPECT_NEAR(static_cast<int>(ReadPixel(61, 1) & 255), 112, 2) << "primitives blend too";
}

TEST(SpriteDrawing, PlainZoomedMirroredAndRotatedDraws) {
    StartDrawing();
    LoadQuadrants(11, 10, 10);
    SetSmoothing(false);
    SpriteDraw(11, 20, 30);
    ExpectRect(kRed, 20, 30, 24, 34);
    ExpectRect(kWhite, 25, 35, 29, 39);

    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDrawZoomed(11, 100, 100, 2, 2);
    ExpectRect(kRed, 95, 95, 104, 104);
    ExpectRect(kWhite, 105, 105, 114, 114);

    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDrawStretched(11, 60, 10, -10, 10); // mirrored: x 50..59
    EXPECT_EQ(ReadPixel(51, 11), kGreen);
    EXPECT_EQ(ReadPixel(58, 11), kRed);
    SpriteDrawStretched(11, 200, 20, -10, -10); // turned half round: 190..199, 10..19
    EXPECT_EQ(ReadPixel(191, 11), kWhite);
    EXPECT_EQ(ReadPixel(198, 18), kRed);

    glClear(GL_COLOR_BUFFER_BIT);
    SpriteDrawRotated(11, 300, 300, 90); // counter-clockwise: the top-right quadrant goes to the top-left
    EXPECT_EQ(ReadPixel(302, 302), kGreen);
    EXPECT_EQ(ReadPixel(307, 302), kWhite);
    EXPECT_EQ(ReadPixel(302, 307), kRed);
    SpriteDrawRotoZoomed(11, 400, 300, 0, 2); // centre stays at (405, 305)
    EXPECT_EQ(ReadPixel(397, 297), kRed);
    EXPECT_EQ(ReadPixel(413, 313), kWhite);
}

TEST(FrameDrawing, FramesAreCellsLeftToRightTopToBottom) {
    StartDrawing();
    // 64 x 32 image of 16 x 16 cells, each cell one colour: cell n has red = 10 * (n + 1).
    ASSERT_TRUE(LoadPicture(12, Picture(64, 32, [](int32_t x, int32_t y) { return 10u * (y / 16 * 4 + x / 16 + 1); })));
    SpriteSetFrameSize(12, 16, 16);
    SetSmoothing(false);
    FrameDraw(12, 5, 0, 0);
    ExpectRect(60, 0, 0, 15, 15);
    FrameDrawStretched(12, 2, 100, 0, 32, 32);
    ExpectRect(30, 100, 0, 131, 31);
    FrameDrawRotoZoomed(12, 7, 200, 0, 90, 1);
    EXPECT_EQ(ReadPixel(208, 8), 80u);

    // Frames wider than the image have no columns, frames of width 0 none either: nothing is drawn.
    glClear(GL_COLOR_BUFFER_BIT);
    SpriteSetFrameSize(12, 100, 16);
    FrameDraw(12, 0, 0, 0);
    FrameDrawStretched(12, 0, 0, 0, 10, 10);
    FrameDrawRotoZoomed(12, 0, 0, 0, 0, 1);
    for (auto [w, h] : {std::pair{0, 0}, {0, 16}, {16, 0}}) {
        SpriteSetFrameSize(12, w, h);
        FrameDraw(12, 1, 0, 0);
        FrameDrawStretched(12, 1, 0, 0, 10, 10);
    }
    ExpectRect(0, 0, 0, 639, 479);
}

TEST(PolyList, TexturedAndColouredFansGrowAndRedraw) {
    StartDrawing();
    // A square of four corners, then the last corner repeated until the list has grown several times.
    PolyBegin(-1);
    for (auto [x, y] : {std::pair{10, 10}, {10, 30}, {30, 30}}) PolyVertex(x, y, 0, 0, kGreen);
    for (int i = 0; i < 997; ++i) PolyVertex(30, 10, 0, 0, kGreen);
    PolyEnd();
    ExpectRect(kGreen, 10, 10, 29, 29);
    glClear(GL_COLOR_BUFFER_BIT);
    PolyEnd(); // the list stays for another PolyEnd
    ExpectRect(kGreen, 10, 10, 29, 29);

    LoadQuadrants(13, 8, 8);
    PolyBegin(13);
    for (auto [x, y] : {std::pair{0, 0}, {0, 8}, {8, 8}, {8, 0}}) PolyVertex(100 + x, 100 + y, x, y, kWhite);
    SetSmoothing(false);
    PolyEnd();
    ExpectRect(kRed, 100, 100, 103, 103);
    ExpectRect(kWhite, 104, 104, 107, 107);
}

TEST(Viewport, FrameResetRestoresOpaqueFullScreenDrawing) {
    StartDrawing();
    SetViewport(100, 50, 20, 20);
    DrawFilledRect(0, 0, 5, 5, kRed);
    EXPECT_EQ(ReadPixel(100, 50), kRed) << "coordinates start at the viewport's corner";
    EXPECT_EQ(ReadPixel(99, 50), 0u);
    SetBlendMode(-0.5);
    LoadQuadrants(13, 8, 8);
    SetSmoothing(false);
    ShowScreen();
    SpriteDrawStretched(13, 200, 200, 64, 64);
    EXPECT_NE(ReadPixel(231, 205), kRed) << "smoothed again";
    DrawFilledRect(600, 400, 40, 80, kGreen);
    DrawFilledRect(600, 400, 4, 4, kBlue);
    EXPECT_EQ(ReadPixel(601, 401), kBlue) << "opaque again";
    EXPECT_EQ(ReadPixel(639, 479), kGreen) << "the whole screen again";
    int32_t w = 0, h = 0;
    GetScreenSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(640, 480));
}

// Small sprites share an atlas texture: alternating between two needs no texture switch.
TEST(QuadBatch, AThousandDrawsOfTwoSpritesMakeOneDrawCallAndNoMoreStateCalls) {
    StartDrawing();
    LoadQuadrants(14, 8, 8);
    LoadQuadrants(19, 8, 8);
    // Texture unit switches go through the extension pointer; count them too.
    static PFNGLACTIVETEXTUREARBPROC activeTexture = GlExt().glActiveTextureARB;
    if (activeTexture)
        GlExt().glActiveTextureARB = [](GLenum unit) {
            if (calls.on) ++calls.state;
            activeTexture(unit);
        };
    calls = {true, 0, 0};
    SpriteDraw(14, 0, 0);
    int firstStateCalls = calls.state;
    for (int i = 1; i < 1000; ++i) SpriteDraw(i % 2 ? 19 : 14, 8 * (i % 80), 8 * (i / 80));
    EXPECT_EQ(calls.state, firstStateCalls) << "no state call after the first draw";
    EXPECT_EQ(calls.draws, 0) << "nothing drawn before it is needed";
    // The last sprite, 999, sits at (8 * 39, 8 * 12).
    EXPECT_EQ(ReadPixel(8 * 39 + 1, 8 * 12 + 1), kRed) << "the read-back draws the batch first";
    EXPECT_EQ(ReadPixel(8 * 39 + 6, 8 * 12 + 6), kWhite);
    EXPECT_EQ(calls.draws, 1);
    calls.on = false;
    GlExt().glActiveTextureARB = activeTexture;
}

TEST(QuadBatch, ReadsAndOwnGlCallsSeeEveryQuadDrawnBeforeThem) {
    StartDrawing();
    LoadQuadrants(15, 8, 8);
    SetSmoothing(false);
    SpriteDraw(15, 0, 0);
    ASSERT_TRUE(SpriteGrab(16, 0, 0, 8, 8));
    SpriteDraw(16, 100, 100);
    EXPECT_EQ(ReadPixel(101, 101), kRed) << "a grab";

    SpriteDraw(15, 200, 0);
    std::string saved = platform::TempDir() + "batched.bmp";
    ASSERT_TRUE(ScreenSave(saved.c_str()));
    ASSERT_TRUE(SpriteLoad(saved.c_str(), 17));
    ClearScreen();
    SpriteDraw(17, 0, 0);
    EXPECT_EQ(ReadPixel(207, 7), kWhite) << "a saved screen";

    // A sprite drawn into a screen is in the screen's picture when a collision test reads it.
    ScreenCreate(4, 18, 16, 16);
    ScreenUse(4);
    SpriteDraw(15, 8, 8);
    EXPECT_TRUE(SpriteCollide(18, 0, 0, 15, 8, 8)) << "a collision mask";
    ScreenUse(-1);

    // The program's own GL call after FlushGL: green added onto the red sprite gives yellow.
    SpriteDraw(15, 300, 0);
    FlushGL();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0, 1, 0, 1);
    glBegin(GL_QUADS);
    for (auto [x, y] : {std::pair{300, 0}, {300, 4}, {304, 4}, {304, 0}}) glVertex2i(x, y);
    glEnd();
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    EXPECT_EQ(BackBufferPixel(301, 1), 0x00FFFFu);
    SpriteDraw(15, 400, 0); // the runtime binds and enables its texture again
    EXPECT_EQ(BackBufferPixel(401, 1), kRed);
}
