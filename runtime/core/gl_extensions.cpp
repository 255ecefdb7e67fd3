// Binding the OpenGL extension functions, with one log line per lookup.
#include "runtime/core/gl_extensions.h"

#include "platform/video.h"
#include "runtime/core/core.h"

#include <cstdio>
#include <cstring>

namespace {

const char* ExtensionString() {
    const char* s = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return s ? s : "";
}

// The driver's lookup answers with an address even for functions it lacks, so a function counts
// only when its extension is offered too.
template <class F>
void Bind(F& slot, const char* name, const char* extension) {
    void* address = platform::GetProcAddress(name);
    bool ok = address && HasGlExtension(extension);
    slot = ok ? reinterpret_cast<F>(address) : nullptr;
    char line[80];
    std::snprintf(line, sizeof line, "ext: %-35s   [%4s]", name, ok ? "OK" : "FAIL");
    WriteErrorLog(line);
}

} // namespace

GlExtensions& GlExt() {
    static GlExtensions* extensions = new GlExtensions;
    return *extensions;
}

bool HasGlExtension(const char* name) {
    const char* all = ExtensionString();
    size_t n = std::strlen(name);
    for (const char* p = std::strstr(all, name); p; p = std::strstr(p + 1, name)) {
        bool starts = p == all || p[-1] == ' ';
        bool ends = p[n] == ' ' || p[n] == 0;
        if (starts && ends) return true;
    }
    return false;
}

void BindGlExtensions() {
    GlExtensions& e = GlExt();
    const char* all = ExtensionString();
    if (std::strstr(all, "GL_ARB_multitexture")) {
        Bind(e.glActiveTextureARB, "glActiveTextureARB", "GL_ARB_multitexture");
        Bind(e.glMultiTexCoord2fARB, "glMultiTexCoord2fARB", "GL_ARB_multitexture");
        Bind(e.glClientActiveTextureARB, "glClientActiveTextureARB", "GL_ARB_multitexture");
        Bind(e.glGenBuffersARB, "glGenBuffersARB", "GL_ARB_vertex_buffer_object");
        Bind(e.glBindBufferARB, "glBindBufferARB", "GL_ARB_vertex_buffer_object");
        Bind(e.glBufferDataARB, "glBufferDataARB", "GL_ARB_vertex_buffer_object");
        Bind(e.glDeleteBuffersARB, "glDeleteBuffersARB", "GL_ARB_vertex_buffer_object");
        Bind(e.glMapBufferARB, "glMapBufferARB", "GL_ARB_vertex_buffer_object");
        Bind(e.glUnmapBufferARB, "glUnmapBufferARB", "GL_ARB_vertex_buffer_object");
        Bind(e.glGetBufferParameterivARB, "glGetBufferParameterivARB", "GL_ARB_vertex_buffer_object");
    }
    if (std::strstr(all, "GL_ARB_fragment_program")) {
        Bind(e.glCreateProgramObjectARB, "glCreateProgramObjectARB", "GL_ARB_shader_objects");
        Bind(e.glDeleteObjectARB, "glDeleteObjectARB", "GL_ARB_shader_objects");
        Bind(e.glCreateShaderObjectARB, "glCreateShaderObjectARB", "GL_ARB_shader_objects");
        Bind(e.glShaderSourceARB, "glShaderSourceARB", "GL_ARB_shader_objects");
        Bind(e.glCompileShaderARB, "glCompileShaderARB", "GL_ARB_shader_objects");
        Bind(e.glGetObjectParameterivARB, "glGetObjectParameterivARB", "GL_ARB_shader_objects");
        Bind(e.glAttachObjectARB, "glAttachObjectARB", "GL_ARB_shader_objects");
        Bind(e.glGetInfoLogARB, "glGetInfoLogARB", "GL_ARB_shader_objects");
        Bind(e.glLinkProgramARB, "glLinkProgramARB", "GL_ARB_shader_objects");
        Bind(e.glUseProgramObjectARB, "glUseProgramObjectARB", "GL_ARB_shader_objects");
        Bind(e.glGetUniformLocationARB, "glGetUniformLocationARB", "GL_ARB_shader_objects");
        Bind(e.glUniform1fARB, "glUniform1fARB", "GL_ARB_shader_objects");
        Bind(e.glUniform1iARB, "glUniform1iARB", "GL_ARB_shader_objects");
        Bind(e.glGetAttribLocationARB, "glGetAttribLocationARB", "GL_ARB_vertex_shader");
        Bind(e.glVertexAttrib1fARB, "glVertexAttrib1fARB", "GL_ARB_vertex_program");
    }
    Bind(e.glBindRenderbufferEXT, "glBindRenderbufferEXT", "GL_EXT_framebuffer_object");
    Bind(e.glBindFramebufferEXT, "glBindFramebufferEXT", "GL_EXT_framebuffer_object");
    Bind(e.glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT", "GL_EXT_framebuffer_object");
    Bind(e.glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT", "GL_EXT_framebuffer_object");
    Bind(e.glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT", "GL_EXT_framebuffer_object");
    Bind(e.glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT", "GL_EXT_framebuffer_object");
    Bind(e.glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT", "GL_EXT_framebuffer_object");
    Bind(e.glGenFramebuffersEXT, "glGenFramebuffersEXT", "GL_EXT_framebuffer_object");
    Bind(e.glGenRenderbuffersEXT, "glGenRenderbuffersEXT", "GL_EXT_framebuffer_object");
    Bind(e.glRenderbufferStorageEXT, "glRenderbufferStorageEXT", "GL_EXT_framebuffer_object");
}
