// Shader slots read back from a shaded pixel: slot numbers, missing and broken files, uniforms, the
// debug texts, missing entry points, and the fixed pipeline after the frame.
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/engine3d/engine3d.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/debug_text.h"
#include "tests/support/headless.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <tuple>

namespace {

constexpr int32_t kQuad = 20;

// The green quad's centre drawn with the slot in use and its uniforms "level" and "steps" set.
uint32_t ShadedCentre(double slot, double level = 1) {
    BeginScene();
    ShaderUse(slot);
    ShaderSetFloat("level", level);
    ShaderSetInt("steps", static_cast<int32_t>(2 * level));
    MeshDraw(kQuad);
    uint32_t centre = BackBufferPixel(320, 240);
    ShowScreen();
    EXPECT_EQ(MeshesDrawn(), 0) << "counted in each frame";
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
    std::string steps = WriteTempFile("steps.frag", "uniform int steps; void main() { "
                                                    "gl_FragColor = vec4(0.0, 0.0, float(steps) / 2.0, 1.0); }");
    std::string broken = WriteTempFile("broken.frag", "void main() { gl_FragColor = nonsense; }");
    // The slot, the files, what loading says, the centre drawn with the slot in use, the case.
    const std::tuple<double, std::string, std::string, int32_t, uint32_t, const char*> cases[] = {
        {255, vertex, level, 0, 0x00FF00, "slot 255"}, {-1, vertex, level, 0, 0x00FF00, "-1"},
        {254.9, vertex, level, 1, 0x0000FF, "254.9 is slot 254"},
        {0, "none.vert", level, 1, 0x0000FF, "the fragment shader alone"},
        {0, "none.vert", "none.frag", 1, 0x00FF00, "neither file: the slot is emptied"},
        {4, vertex, level, 1, 0x0000FF, "a pair"}, {5, vertex, steps, 1, 0xFF0000, "an int"},
        {4, vertex, broken, 0, 0x00FF00, "a broken shader empties the slot"}};
    for (const auto& [slot, vertexFile, fragmentFile, loaded, centre, what] : cases) {
        EXPECT_EQ(ShaderLoad(slot, vertexFile.c_str(), fragmentFile.c_str()), loaded) << what;
        EXPECT_EQ(ShadedCentre(slot), centre) << what;
    }
    EXPECT_TRUE(PixelNear(ShadedCentre(254, 0.5), 0x000080, 1)) << "a uniform's value reaches the pixel";

    std::string text = DebugText([&] {
        EXPECT_EQ(ShaderLoad(4, broken.c_str(), level.c_str()), 0);
        EXPECT_EQ(ShaderLoad(5, vertex.c_str(), broken.c_str()), 0);
        ShaderUse(254);
        ShaderSetFloat("unused", 1.0);
        ShaderSetAttribute("nothing", 1.0);
        ShaderUse(-1);
    });
    // Each fixed text after the driver's own log; names the program lacks are reported.
    EXPECT_GT(text.find("vertex shader failed\n"), 2u) << text;
    EXPECT_NE(text.find("fragment shader failed\nundefined uniform: unused\nundefined attrib: nothing\n"),
              std::string::npos);

    // Without an entry point nothing calls it: the support text appears once however often loads are
    // tried, and a sampler is left at its unit.
    std::string sampler = WriteTempFile("sampler.frag", "uniform sampler2D TextureID1; void main() { gl_FragColor "
                                                        "= texture2D(TextureID1, vec2(0.5)) + vec4(0, 0, 1, 1); }");
    ASSERT_EQ(ShaderLoad(8, vertex.c_str(), sampler.c_str()), 1);
    GlExtensions saved = GlExt();
    GlExt().glUniform1iARB = nullptr;
    EXPECT_EQ(ShadedCentre(8), 0xFF0000u);
    GlExt().glCreateShaderObjectARB = nullptr;
    text = DebugText([&] {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ShaderLoad(7, vertex.c_str(), level.c_str()), 0);
    });
    GlExt() = saved;
    EXPECT_EQ(text, "No OpenGL 2.0 Shader Support\n");

    // The frame's end left the fixed pipeline, where no program is asked for its samplers.
    glGetError();
    BeginScene();
    MeshDraw(kQuad);
    EXPECT_EQ(BackBufferPixel(320, 240), 0x00FF00u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
