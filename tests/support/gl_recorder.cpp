#include "gl_recorder.h"

#include <epoxy/gl.h>

#include <iomanip>
#include <sstream>

namespace {

template <typename... Args>
void Log(const char* name, Args... args) {
    std::ostringstream line;
    line << std::setprecision(9) << name;
    ((line << ' ' << args), ...);
    GlCalls().push_back(line.str());
}

// For each function: the driver's entry point, kept while recording, and a logger.
#define RECORDED(name, params, args, ...)                  \
    decltype(epoxy_##name) real_##name = nullptr;          \
    void GLAPIENTRY record_##name params {                 \
        Log(#name, ##__VA_ARGS__);                         \
        real_##name args;                                  \
    }

RECORDED(glClear, (GLbitfield mask), (mask), mask)
RECORDED(glLoadIdentity, (), ())
RECORDED(glBindTexture, (GLenum target, GLuint texture), (target, texture), target, texture)
RECORDED(glBegin, (GLenum mode), (mode), mode)
RECORDED(glEnd, (), ())
RECORDED(glTexCoord2f, (GLfloat s, GLfloat t), (s, t), s, t)
RECORDED(glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)
RECORDED(glEnable, (GLenum cap), (cap), cap)
RECORDED(glDisable, (GLenum cap), (cap), cap)
RECORDED(glAlphaFunc, (GLenum func, GLclampf ref), (func, ref), func, ref)
RECORDED(glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g, b, a)
RECORDED(glTexEnvi, (GLenum target, GLenum name, GLint value), (target, name, value), target, name, value)
RECORDED(glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a), r, g, b, a)
RECORDED(glBlendFunc, (GLenum s, GLenum d), (s, d), s, d)
RECORDED(glMatrixMode, (GLenum mode), (mode), mode)

RECORDED(glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z), x, y, z)

#define SWAP_IN(name)                 \
    if (!real_##name) {               \
        real_##name = epoxy_##name;   \
        epoxy_##name = record_##name; \
    }
#define SWAP_OUT(name)                \
    if (real_##name) {                \
        epoxy_##name = real_##name;   \
        real_##name = nullptr;        \
    }
#define ALL(action)                                                                                       \
    action(glClear) action(glLoadIdentity) action(glBindTexture) action(glBegin) action(glEnd)            \
        action(glTexCoord2f) action(glVertex3f) action(glEnable) action(glDisable) action(glAlphaFunc)    \
            action(glClearColor) action(glTexEnvi) action(glColor4f) action(glBlendFunc) action(glMatrixMode) \
                action(glTranslatef)

// libepoxy resolves an entry point on its first call, and only while the
// pointer still holds its own resolver: each is called once, changing
// nothing, before a logger takes its place.
void ResolveEntryPoints() {
    GLint binding = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &binding);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(binding));
    glClear(0);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(static_cast<GLenum>(mode));
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, 0.0f);
    glPopMatrix();
    GLfloat texCoord[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    glBegin(GL_QUADS);
    glTexCoord2f(texCoord[0], texCoord[1]);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glEnd();
    const GLboolean texturing = glIsEnabled(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_2D);
    if (texturing) {
        glEnable(GL_TEXTURE_2D);
    }
    GLint alphaFunc = 0;
    GLfloat alphaRef = 0.0f;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &alphaFunc);
    glGetFloatv(GL_ALPHA_TEST_REF, &alphaRef);
    glAlphaFunc(static_cast<GLenum>(alphaFunc), alphaRef);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    GLint envMode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &envMode);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glColor4f(colour[0], colour[1], colour[2], colour[3]);
    GLint blendSrc = 0;
    GLint blendDst = 0;
    glGetIntegerv(GL_BLEND_SRC, &blendSrc);
    glGetIntegerv(GL_BLEND_DST, &blendDst);
    glBlendFunc(static_cast<GLenum>(blendSrc), static_cast<GLenum>(blendDst));
}

}  // namespace

std::vector<std::string>& GlCalls() {
    static std::vector<std::string> calls;
    return calls;
}

std::vector<Translation> Translations() {
    std::vector<Translation> found;
    for (const std::string& call : GlCalls()) {
        std::istringstream line(call);
        std::string name;
        Translation t{};
        if (line >> name >> t.x >> t.y >> t.z && name == "glTranslatef") {
            found.push_back(t);
        }
    }
    return found;
}

void StartGlRecording() {
    ResolveEntryPoints();
    GlCalls().clear();
    ALL(SWAP_IN)
}

void StopGlRecording() {
    ALL(SWAP_OUT)
}
