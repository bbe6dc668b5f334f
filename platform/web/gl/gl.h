// OpenGL as the program includes it ("gl.h"), in the browser: the subset of
// OpenGL 1.1, GLU and the framebuffer-object extension the program calls,
// drawn with WebGL 2 (immediate mode, matrices, the texture environment and
// the alpha test emulated).
#pragma once

#include <cstdint>

typedef unsigned int GLenum;
typedef unsigned int GLuint;
typedef int GLint;
typedef int GLsizei;
typedef float GLfloat;
typedef double GLdouble;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef float GLclampf;
typedef double GLclampd;
typedef void GLvoid;
#define GLAPIENTRY

#define GL_FALSE 0
#define GL_TRUE 1
#define GL_NO_ERROR 0
#define GL_QUADS 0x0007
#define GL_DEPTH_BUFFER_BIT 0x00000100
#define GL_COLOR_BUFFER_BIT 0x00004000
#define GL_NEVER 0x0200
#define GL_LESS 0x0201
#define GL_EQUAL 0x0202
#define GL_LEQUAL 0x0203
#define GL_GREATER 0x0204
#define GL_NOTEQUAL 0x0205
#define GL_GEQUAL 0x0206
#define GL_ALWAYS 0x0207
#define GL_DEPTH_TEST 0x0B71
#define GL_ALPHA_TEST 0x0BC0
#define GL_BLEND 0x0BE2
#define GL_TEXTURE_2D 0x0DE1
#define GL_PERSPECTIVE_CORRECTION_HINT 0x0C50
#define GL_POINT_SMOOTH_HINT 0x0C51
#define GL_NICEST 0x1102
#define GL_MAX_TEXTURE_SIZE 0x0D33
#define GL_UNPACK_ALIGNMENT 0x0CF5
#define GL_UNSIGNED_BYTE 0x1401
#define GL_DEPTH_COMPONENT 0x1902
#define GL_RGB 0x1907
#define GL_RGBA 0x1908
#define GL_RGBA8 0x8058
#define GL_MODELVIEW 0x1700
#define GL_PROJECTION 0x1701
#define GL_SMOOTH 0x1D01
#define GL_MODULATE 0x2100
#define GL_REPLACE 0x1E01
#define GL_TEXTURE_ENV_MODE 0x2200
#define GL_TEXTURE_ENV 0x2300
#define GL_NEAREST 0x2600
#define GL_LINEAR 0x2601
#define GL_LINEAR_MIPMAP_LINEAR 0x2703
#define GL_TEXTURE_MAG_FILTER 0x2800
#define GL_TEXTURE_MIN_FILTER 0x2801
#define GL_TEXTURE_WRAP_S 0x2802
#define GL_TEXTURE_WRAP_T 0x2803
#define GL_REPEAT 0x2901
#define GL_CLAMP_TO_EDGE 0x812F
#define GL_FRAMEBUFFER_EXT 0x8D40
#define GL_RENDERBUFFER_EXT 0x8D41
#define GL_COLOR_ATTACHMENT0_EXT 0x8CE0
#define GL_DEPTH_ATTACHMENT_EXT 0x8D00
#define GL_FRAMEBUFFER_COMPLETE_EXT 0x8CD5
#define GL_FRAMEBUFFER_BINDING_EXT 0x8CA6

void glBegin(GLenum mode);
void glEnd();
void glTexCoord2f(GLfloat s, GLfloat t);
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glMatrixMode(GLenum mode);
void glLoadIdentity();
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void glClear(GLbitfield mask);
void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void glClearDepth(GLclampd depth);
void glEnable(GLenum cap);
void glDisable(GLenum cap);
GLboolean glIsEnabled(GLenum cap);
void glDepthFunc(GLenum func);
void glAlphaFunc(GLenum func, GLclampf ref);
void glShadeModel(GLenum mode);
void glHint(GLenum target, GLenum mode);
void glTexEnvi(GLenum target, GLenum pname, GLint param);
void glGenTextures(GLsizei n, GLuint* textures);
void glDeleteTextures(GLsizei n, const GLuint* textures);
void glBindTexture(GLenum target, GLuint texture);
void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels);
void glTexSubImage2D(GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height,
                     GLenum format, GLenum type, const GLvoid* pixels);
void glTexParameteri(GLenum target, GLenum pname, GLint param);
void glTexParameterf(GLenum target, GLenum pname, GLfloat param);
void glPixelStorei(GLenum pname, GLint param);
void glGetIntegerv(GLenum pname, GLint* params);
GLenum glGetError();
void glFinish();

void glGenFramebuffersEXT(GLsizei n, GLuint* framebuffers);
void glDeleteFramebuffersEXT(GLsizei n, const GLuint* framebuffers);
void glBindFramebufferEXT(GLenum target, GLuint framebuffer);
void glGenRenderbuffersEXT(GLsizei n, GLuint* renderbuffers);
void glDeleteRenderbuffersEXT(GLsizei n, const GLuint* renderbuffers);
void glBindRenderbufferEXT(GLenum target, GLuint renderbuffer);
void glRenderbufferStorageEXT(GLenum target, GLenum internalFormat, GLsizei width, GLsizei height);
void glFramebufferTexture2DEXT(GLenum target, GLenum attachment, GLenum textarget, GLuint texture, GLint level);
void glFramebufferRenderbufferEXT(GLenum target, GLenum attachment, GLenum renderbufferTarget,
                                  GLuint renderbuffer);
GLenum glCheckFramebufferStatusEXT(GLenum target);
void glGenerateMipmapEXT(GLenum target);

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar);

// The extensions WebGL 2 offers of those the program asks about.
bool epoxy_has_gl_extension(const char* name);

// For the window layer: the WebGL 2 context on the page's canvas. False when
// the browser gives none.
bool CreateWebGlContext();
void DestroyWebGlContext();
