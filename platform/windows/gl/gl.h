// OpenGL as the program includes it on Windows: the system's OpenGL 1.1 and
// GLU, and the framebuffer-object extension's entry points, each resolved
// through wglGetProcAddress on its first call.
#pragma once

#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glext.h>

void APIENTRY glGenFramebuffersEXT(GLsizei n, GLuint* framebuffers);
void APIENTRY glBindFramebufferEXT(GLenum target, GLuint framebuffer);
void APIENTRY glDeleteFramebuffersEXT(GLsizei n, const GLuint* framebuffers);
void APIENTRY glGenRenderbuffersEXT(GLsizei n, GLuint* renderbuffers);
void APIENTRY glBindRenderbufferEXT(GLenum target, GLuint renderbuffer);
void APIENTRY glDeleteRenderbuffersEXT(GLsizei n, const GLuint* renderbuffers);
void APIENTRY glRenderbufferStorageEXT(GLenum target, GLenum internalformat, GLsizei width, GLsizei height);
void APIENTRY glFramebufferTexture2DEXT(GLenum target, GLenum attachment, GLenum textarget, GLuint texture,
                                        GLint level);
void APIENTRY glFramebufferRenderbufferEXT(GLenum target, GLenum attachment, GLenum renderbuffertarget,
                                           GLuint renderbuffer);
GLenum APIENTRY glCheckFramebufferStatusEXT(GLenum target);
void APIENTRY glGenerateMipmapEXT(GLenum target);

// Whether the current context's driver offers the extension, as libepoxy answers it elsewhere.
bool epoxy_has_gl_extension(const char* name);
