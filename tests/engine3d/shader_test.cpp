// Shader slots read back from a shaded pixel: slot numbers, missing and broken files, uniforms, the
// debug texts, and the fixed pipeline after the frame.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/engine3d/engine3d.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

constexpr int32_t kQuad = 20;

// The debug channel's output while body runs.
template <typename Body>
std::string DebugText(Body body) {
    setenv("TMV_DEBUG_OUTPUT", "1", 1);
    testing::internal::CaptureStderr();
    body();
    std::string text = testing::internal::GetCapturedStderr();
    unsetenv("TMV_DEBUG_OUTPUT");
    return text;
}

// The green quad's centre drawn with the slot in use and its "level" uniform at 1.
uint32_t ShadedCentre(double slot) {
    BeginScene();
    ShaderUse(slot);
    ShaderSetFloat("level", 1.0);
    MeshDraw(kQuad);
    uint32_t centre = BackBufferPixel(320, 240);
    ShowScreen();
    return centre;
}

} // namespace

TEST(Shaders, SlotsMissingFilesAndErrors) {
    StartEngine();
    LoadQuad(kQuad, 0x00FF00, Square(1, 0));
    std::string vertex = WriteTempFile("plain.vert", "void main() { gl_FrontColor = gl_Color; "
                                                     "gl_Position = ftransform(); }");
    std::string level = WriteTempFile("level.frag", "uniform float level; "
                                                    "void main() { gl_FragColor = vec4(level, 0.0, 0.0, 1.0); }");
    std::string missing = platform::TempDir() + "missing.frag";
    std::string broken = WriteTempFile("broken.frag", "void main() { gl_FragColor = nonsense; }");
    struct Case {
        double slot;
        std::string vertex, fragment;
        int32_t loaded;
        uint32_t centre; // drawn with the slot in use
        const char* what;
    };
    for (const Case& c : {Case{255, vertex, level, 0, 0x00FF00, "slot 255"}, {-1, vertex, level, 0, 0x00FF00, "-1"},
                          {254.9, vertex, level, 1, 0x0000FF, "254.9 is slot 254"},
                          {3, missing, level, 1, 0x0000FF, "the fragment shader alone"},
                          {3, missing, missing, 1, 0x00FF00, "neither file: the slot is emptied"},
                          {4, vertex, level, 1, 0x0000FF, "a pair"},
                          {4, vertex, broken, 0, 0x00FF00, "a broken shader empties the slot"}}) {
        DebugText([&] {
            EXPECT_EQ(ShaderLoad(c.slot, c.vertex.c_str(), c.fragment.c_str()), c.loaded) << c.what;
        });
        EXPECT_EQ(ShadedCentre(c.slot), c.centre) << c.what;
    }

    std::string unresolved = WriteTempFile("unresolved.frag", "void f(); void main() { f(); gl_FragColor = vec4(1.0); }");
    std::string text = DebugText([&] {
        EXPECT_EQ(ShaderLoad(4, broken.c_str(), level.c_str()), 0);
        EXPECT_EQ(ShaderLoad(5, vertex.c_str(), broken.c_str()), 0);
        EXPECT_EQ(ShaderLoad(6, vertex.c_str(), unresolved.c_str()), 0);
    });
    // Each fixed text after the driver's own log.
    size_t vertexFailed = text.find("vertex shader failed\n"), fragmentFailed = text.find("fragment shader failed\n"),
           linkFailed = text.find("link shader failed\n");
    ASSERT_NE(linkFailed, std::string::npos) << text;
    EXPECT_GT(vertexFailed, 2u);
    EXPECT_LT(vertexFailed, fragmentFailed);
    EXPECT_LT(fragmentFailed, linkFailed);

    // Without the entry points the support text appears once however often loads are tried.
    GlExtensions saved = GlExt();
    GlExt().glCreateShaderObjectARB = nullptr;
    text = DebugText([&] {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ShaderLoad(7, vertex.c_str(), level.c_str()), 0);
    });
    GlExt() = saved;
    EXPECT_EQ(text, "No OpenGL 2.0 Shader Support\n");

    // A uniform's value reaches the pixel; names the program lacks are reported.
    BeginScene();
    ShaderUse(254);
    ShaderSetFloat("level", 0.5);
    MeshDraw(kQuad);
    EXPECT_TRUE(PixelNear(BackBufferPixel(320, 240), 0x000080, 1));
    text = DebugText([&] {
        ShaderSetFloat("unused", 1.0);
        ShaderSetAttribute("nothing", 1.0);
    });
    EXPECT_EQ(text, "undefined uniform: unused\nundefined attrib: nothing\n");
    ShowScreen();
    BeginScene();
    MeshDraw(kQuad);
    EXPECT_EQ(BackBufferPixel(320, 240), 0x00FF00u) << "the frame's end leaves the fixed pipeline";
}
