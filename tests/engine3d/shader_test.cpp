// Shader slots: loading with missing and broken files, the debug texts, uniforms on a shaded pixel,
// and the fixed pipeline after the frame.
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "tests/engine3d/engine_test_support.h"
#include "tests/support/headless.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const char* kVertex = "void main() { gl_FrontColor = gl_Color; gl_Position = ftransform(); }";
const char* kLevel = "uniform float level; void main() { gl_FragColor = vec4(level, 0.0, 0.0, 1.0); }";

std::string Shader(const std::string& name, const std::string& text) { return WriteTempFile(name, text); }

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

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

} // namespace

TEST(Shaders, SlotsMissingFilesAndErrors) {
    StartEngine();
    Vividoru3D& engine = Engine3D();
    std::string vertex = Shader("plain.vert", kVertex), level = Shader("level.frag", kLevel);
    std::string missing = platform::TempDir() + "missing.frag";
    EXPECT_EQ(ShaderLoad(255, vertex.c_str(), level.c_str()), 0);
    EXPECT_EQ(ShaderLoad(-1, vertex.c_str(), level.c_str()), 0);
    EXPECT_EQ(ShaderLoad(254.9, vertex.c_str(), level.c_str()), 1);
    EXPECT_NE(engine.shaders[254].program, 0u);

    EXPECT_EQ(ShaderLoad(3, missing.c_str(), level.c_str()), 1);
    EXPECT_NE(engine.shaders[3].program, 0u);
    EXPECT_EQ(engine.shaders[3].vertexShader, 0u);
    EXPECT_NE(engine.shaders[3].fragmentShader, 0u);
    EXPECT_EQ(ShaderLoad(3, missing.c_str(), missing.c_str()), 1);
    EXPECT_EQ(engine.shaders[3].program + engine.shaders[3].vertexShader + engine.shaders[3].fragmentShader, 0u);

    std::string broken = Shader("broken.frag", "void main() { gl_FragColor = nonsense; }");
    std::string unresolved = Shader("unresolved.frag", "void f(); void main() { f(); gl_FragColor = vec4(1.0); }");
    std::string text = DebugText([&] {
        EXPECT_EQ(ShaderLoad(4, broken.c_str(), level.c_str()), 0);
        EXPECT_EQ(ShaderLoad(5, vertex.c_str(), broken.c_str()), 0);
        EXPECT_EQ(ShaderLoad(6, vertex.c_str(), unresolved.c_str()), 0);
    });
    // Each fixed text after the driver's own log.
    size_t vertexFailed = text.find("vertex shader failed\n"),
           fragmentFailed = text.find("fragment shader failed\n"), linkFailed = text.find("link shader failed\n");
    ASSERT_NE(vertexFailed, std::string::npos) << text;
    ASSERT_NE(fragmentFailed, std::string::npos) << text;
    ASSERT_NE(linkFailed, std::string::npos) << text;
    EXPECT_GT(vertexFailed, 2u);
    EXPECT_LT(vertexFailed, fragmentFailed);
    EXPECT_LT(fragmentFailed, linkFailed);
    EXPECT_EQ(Count(text, "failed\n"), 3u);

    // Without the entry points the support text appears once however often loads are tried.
    GlExtensions saved = GlExt();
    GlExt().glCreateShaderObjectARB = nullptr;
    text = DebugText([&] {
        for (int i = 0; i < 3; ++i) EXPECT_EQ(ShaderLoad(7, vertex.c_str(), level.c_str()), 0);
    });
    GlExt() = saved;
    EXPECT_EQ(text, "No OpenGL 2.0 Shader Support\n");
}

TEST(Shaders, UniformsChangeTheShadedPixelUntilTheFrameEnds) {
    constexpr int32_t kQuad = 20;
    StartEngine();
    std::string vertex = Shader("plain.vert", kVertex), level = Shader("level.frag", kLevel);
    std::string unused = Shader("unused.frag", "uniform float unused; void main() { gl_FragColor = vec4(1.0); }");
    ASSERT_EQ(ShaderLoad(1, vertex.c_str(), level.c_str()), 1);
    ASSERT_EQ(ShaderLoad(2, vertex.c_str(), unused.c_str()), 1);
    LoadQuad(kQuad, 0x00FF00, Square(1, 0));
    auto draw = [&] {
        Scene3DBegin(1, 9, 90);
        CameraSet(0, 0, 5, 0, 0, 0);
        MeshDraw(kQuad);
        return BackBufferPixel(320, 240);
    };
    ShaderUse(1);
    EXPECT_EQ(Engine3D().currentShader, 1);
    ShaderSetFloat("level", 1.0);
    EXPECT_EQ(draw(), 0x0000FFu);
    ShaderSetFloat("level", 0.5);
    EXPECT_TRUE(PixelNear(draw(), 0x000080, 1));

    ShaderUse(2);
    std::string text = DebugText([&] {
        ShaderSetFloat("unused", 1.0);
        ShaderSetAttribute("nothing", 1.0);
    });
    EXPECT_EQ(text, "undefined uniform: unused\nundefined attrib: nothing\n");

    ShowScreen();
    EXPECT_EQ(Engine3D().currentShader, -1);
    EXPECT_EQ(draw(), 0x00FF00u);
    ShaderUse(255);
    EXPECT_EQ(Engine3D().currentShader, -1);
}
