// Shader slots: GLSL pairs loaded into numbered slots through the ARB shader objects, the current
// slot, and uniforms and attributes by name.
#include "platform/file_bytes.h"
#include "runtime/core/core.h"
#include "runtime/core/gl_extensions.h"
#include "runtime/core/number_convert.h"
#include "runtime/engine3d/engine3d.h"
#include "runtime/engine3d/vividoru3d.h"
#include "runtime/files/files.h"

#include <string>
#include <vector>

namespace {

// Shader texts are small; a larger file is not read.
constexpr int64_t kMaxShaderFileBytes = int64_t{16} << 20;

bool ValidSlot(int32_t slot) { return slot >= 0 && slot < kShaderSlots; }

void PrintInfoLog(GLhandleARB object) {
    GlExtensions& ext = GlExt();
    GLint length = 0;
    ext.glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 0) return;
    std::string log(static_cast<size_t>(length), '\0');
    GLsizei written = 0;
    ext.glGetInfoLogARB(object, length, &written, log.data());
    log.resize(static_cast<size_t>(std::max(written, 0)));
    DebugOutput(RtString(std::string_view(log)));
}

enum class StageResult { Skipped, Compiled, Failed };

// A file that cannot be found is skipped without a message, as a missing half of the pair.
StageResult CompileStage(const RtString& file, GLenum type, const char* failure, uint32_t& object) {
    RtString path;
    std::vector<uint8_t> text;
    if (!ArchiveResolve(file, path) || !platform::ReadFileBytes(path.c_str(), text, kMaxShaderFileBytes))
        return StageResult::Skipped;
    text.push_back('\0');
    GlExtensions& ext = GlExt();
    object = ext.glCreateShaderObjectARB(type);
    const GLcharARB* source = reinterpret_cast<const GLcharARB*>(text.data());
    ext.glShaderSourceARB(object, 1, &source, nullptr);
    ext.glCompileShaderARB(object);
    GLint status = 0;
    ext.glGetObjectParameterivARB(object, GL_OBJECT_COMPILE_STATUS_ARB, &status);
    if (status != 0) return StageResult::Compiled;
    PrintInfoLog(object);
    DebugOutput(RtString(failure) + "\n");
    return StageResult::Failed;
}

// The current slot's program, or 0 when nothing may be set; GL calls may follow a non-zero result.
GLhandleARB CurrentProgram() {
    Vividoru3D& engine = Engine3D();
    if (!GlExt().glUseProgramObjectARB || !ValidSlot(engine.currentShader)) return 0;
    GLhandleARB program = engine.shaders[static_cast<size_t>(engine.currentShader)].program;
    if (program) FlushGL();
    return program;
}

GLint UniformLocation(const RtString& name) {
    GLhandleARB program = CurrentProgram();
    GlExtensions& ext = GlExt();
    if (!program || !ext.glGetUniformLocationARB) return -1;
    GLint location = ext.glGetUniformLocationARB(program, name.c_str());
    if (location == -1) DebugOutput("undefined uniform: " + name + "\n");
    return location;
}

} // namespace

int32_t ShaderLoad(double slotNumber, const RtString& vertexFile, const RtString& fragmentFile) {
    int32_t slotIndex = NumberToInt(slotNumber);
    // Negative slots fail like those past the table.
    if (!ValidSlot(slotIndex)) return 0;
    Vividoru3D& engine = Engine3D();
    GlExtensions& ext = GlExt();
    if (!ext.glCreateShaderObjectARB || !ext.glCompileShaderARB || !ext.glLinkProgramARB) {
        if (engine.shaderSupportMessageDue) DebugOutput("No OpenGL 2.0 Shader Support\n");
        engine.shaderSupportMessageDue = false;
        return 0;
    }
    FlushGL();
    ShaderSlot& slot = engine.shaders[static_cast<size_t>(slotIndex)];
    if (ext.glDeleteObjectARB) {
        for (uint32_t* object : {&slot.program, &slot.vertexShader, &slot.fragmentShader}) {
            if (*object) ext.glDeleteObjectARB(*object);
            *object = 0;
        }
    }
    StageResult vertex = CompileStage(vertexFile, GL_VERTEX_SHADER_ARB, "vertex shader failed", slot.vertexShader);
    if (vertex == StageResult::Failed) return 0;
    StageResult fragment =
        CompileStage(fragmentFile, GL_FRAGMENT_SHADER_ARB, "fragment shader failed", slot.fragmentShader);
    if (fragment == StageResult::Failed) return 0;
    if (!slot.vertexShader && !slot.fragmentShader) return 1;
    slot.program = ext.glCreateProgramObjectARB();
    for (uint32_t object : {slot.vertexShader, slot.fragmentShader})
        if (object) ext.glAttachObjectARB(slot.program, object);
    ext.glLinkProgramARB(slot.program);
    GLint status = 0;
    ext.glGetObjectParameterivARB(slot.program, GL_OBJECT_LINK_STATUS_ARB, &status);
    if (status != 0) return 1;
    PrintInfoLog(slot.program);
    DebugOutput("link shader failed\n");
    return 0;
}

void ShaderUse(double slotNumber) {
    GlExtensions& ext = GlExt();
    if (!ext.glUseProgramObjectARB) return;
    FlushGL();
    Vividoru3D& engine = Engine3D();
    int32_t slot = NumberToInt(slotNumber);
    if (ValidSlot(slot)) {
        ext.glUseProgramObjectARB(engine.shaders[static_cast<size_t>(slot)].program);
        engine.currentShader = slot;
    } else {
        ext.glUseProgramObjectARB(0);
        engine.currentShader = -1;
    }
}

void ShaderSetFloat(const RtString& name, double value) {
    GLint location = UniformLocation(name);
    if (location == -1 || !GlExt().glUniform1fARB) return;
    GlExt().glUniform1fARB(location, static_cast<float>(value));
}

void ShaderSetInt(const RtString& name, int32_t value) {
    GLint location = UniformLocation(name);
    if (location == -1 || !GlExt().glUniform1iARB) return;
    GlExt().glUniform1iARB(location, value);
}

void ShaderSetIntQuiet(const char* name, int32_t value) {
    GLhandleARB program = CurrentProgram();
    GlExtensions& ext = GlExt();
    if (!program || !ext.glGetUniformLocationARB || !ext.glUniform1iARB) return;
    GLint location = ext.glGetUniformLocationARB(program, name);
    if (location != -1) ext.glUniform1iARB(location, value);
}

void ShaderSetAttribute(const RtString& name, double value) {
    GLhandleARB program = CurrentProgram();
    GlExtensions& ext = GlExt();
    if (!program || !ext.glGetAttribLocationARB || !ext.glVertexAttrib1fARB) return;
    GLint location = ext.glGetAttribLocationARB(program, name.c_str());
    if (location == -1) {
        DebugOutput("undefined attrib: " + name + "\n");
        return;
    }
    ext.glVertexAttrib1fARB(static_cast<GLuint>(location), static_cast<float>(value));
}
