#include "gl.h"

#include <cstring>

namespace {

// The entry point of the current context's driver, looked up on the first
// call (the program has one context).
template <typename Entry>
Entry Resolve(Entry& slot, const char* name) {
    if (!slot) {
        slot = reinterpret_cast<Entry>(reinterpret_cast<void*>(wglGetProcAddress(name)));
    }
    return slot;
}

#define RESOLVED(type, name) \
    static type slot = nullptr; \
    Resolve(slot, #name)

}  // namespace

void APIENTRY glGenFramebuffersEXT(GLsizei n, GLuint* framebuffers) {
    RESOLVED(PFNGLGENFRAMEBUFFERSEXTPROC, glGenFramebuffersEXT)(n, framebuffers);
}

void APIENTRY glBindFramebufferEXT(GLenum target, GLuint framebuffer) {
    RESOLVED(PFNGLBINDFRAMEBUFFEREXTPROC, glBindFramebufferEXT)(target, framebuffer);
}

void APIENTRY glDeleteFramebuffersEXT(GLsizei n, const GLuint* framebuffers) {
    RESOLVED(PFNGLDELETEFRAMEBUFFERSEXTPROC, glDeleteFramebuffersEXT)(n, framebuffers);
}

void APIENTRY glGenRenderbuffersEXT(GLsizei n, GLuint* renderbuffers) {
    RESOLVED(PFNGLGENRENDERBUFFERSEXTPROC, glGenRenderbuffersEXT)(n, renderbuffers);
}

void APIENTRY glBindRenderbufferEXT(GLenum target, GLuint renderbuffer) {
    RESOLVED(PFNGLBINDRENDERBUFFEREXTPROC, glBindRenderbufferEXT)(target, renderbuffer);
}

void APIENTRY glDeleteRenderbuffersEXT(GLsizei n, const GLuint* renderbuffers) {
    RESOLVED(PFNGLDELETERENDERBUFFERSEXTPROC, glDeleteRenderbuffersEXT)(n, renderbuffers);
}

void APIENTRY glRenderbufferStorageEXT(GLenum target, GLenum internalformat, GLsizei width, GLsizei height) {
    RESOLVED(PFNGLRENDERBUFFERSTORAGEEXTPROC, glRenderbufferStorageEXT)(target, internalformat, width, height);
}

void APIENTRY glFramebufferTexture2DEXT(GLenum target, GLenum attachment, GLenum textarget, GLuint texture,
                                        GLint level) {
    RESOLVED(PFNGLFRAMEBUFFERTEXTURE2DEXTPROC, glFramebufferTexture2DEXT)(target, attachment, textarget, texture,
                                                                          level);
}

void APIENTRY glFramebufferRenderbufferEXT(GLenum target, GLenum attachment, GLenum renderbuffertarget,
                                           GLuint renderbuffer) {
    RESOLVED(PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC, glFramebufferRenderbufferEXT)(target, attachment,
                                                                                renderbuffertarget, renderbuffer);
}

GLenum APIENTRY glCheckFramebufferStatusEXT(GLenum target) {
    static PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC slot = nullptr;
    return Resolve(slot, "glCheckFramebufferStatusEXT")(target);
}

void APIENTRY glGenerateMipmapEXT(GLenum target) {
    RESOLVED(PFNGLGENERATEMIPMAPEXTPROC, glGenerateMipmapEXT)(target);
}

bool epoxy_has_gl_extension(const char* name) {
    // The space-separated list of OpenGL 1.x drivers, matched word for word.
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const size_t length = std::strlen(name);
    for (const char* at = list; at && (at = std::strstr(at, name)) != nullptr; at += length) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}
