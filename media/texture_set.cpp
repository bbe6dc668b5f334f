#include "media/texture_set.h"

#include <strings.h>

#include <cstdio>
#include <cstring>

#include "gl.h"
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>
#include <windows.h>

#include "media/picture_check.h"

GLuint LogoTexture = 0;
GLuint VekCredsTexture = 0;
GLuint JubCredsTexture = 0;
GLuint SnurfelsCredsTexture = 0;
GLuint QuillackCredsTexture = 0;
GLuint ZephruntCredsTexture = 0;
GLuint EndPictureTexture = 0;
GLuint FlipFrameA = 0;
GLuint FlipFrameB = 0;
GLuint TuvrelTexture = 0;
GLuint NerdTexture = 0;
GLuint LyricsTexture = 0;
GLuint BackgroundTexture = 0;
GLuint DemosceneTexture = 0;
GLuint Vacation1Texture = 0;
GLuint Vacation2Texture = 0;
GLuint Vacation3Texture = 0;
GLuint AssTexture = 0;

GLuint BlankTexture1 = 0;
GLuint BlankTexture2 = 0;
GLuint BlankTexture3 = 0;
GLuint BlankTexture4 = 0;

GLuint OffscreenFramebuffer = 0;
GLuint OffscreenDepthBuffer = 0;

namespace {

struct PictureFile {
    const char* path;
    GLuint* texture;
};

// In load order.
const PictureFile Pictures[] = {
    {"data/qorlogo.jpg", &LogoTexture},
    {"data/VekCreds.jpg", &VekCredsTexture},
    {"data/JubCreds.jpg", &JubCredsTexture},
    {"data/SnurfelsCreds.jpg", &SnurfelsCredsTexture},
    {"data/QuillackCreds.jpg", &QuillackCredsTexture},
    {"data/ZephruntCreds.jpg", &ZephruntCredsTexture},
    {"data/SluttBilde.jpg", &EndPictureTexture},
    {"data/Dwip1.png", &FlipFrameA},
    {"data/Dwip2.png", &FlipFrameB},
    {"data/DwipTuvrel.png", &TuvrelTexture},
    {"data/Nerd.jpg", &NerdTexture},
    {"data/Lyrics.png", &LyricsTexture},
    {"data/KX07.jpg", &BackgroundTexture},
    {"data/Demoscene.jpg", &DemosceneTexture},
    {"data/DwipVacation1.jpg", &Vacation1Texture},
    {"data/DwipVacation2.jpg", &Vacation2Texture},
    {"data/DwipVacation3.jpg", &Vacation3Texture},
    {"data/Ass.jpg", &AssTexture},
};

GLuint* const BlankTextures[] = {&BlankTexture1, &BlankTexture2, &BlankTexture3, &BlankTexture4};

bool NamedAsOther(const char* path, PictureCheck::Format format) {
    const char* dot = std::strrchr(path, '.');
    const bool namedPng = dot && strcasecmp(dot, ".png") == 0;
    return dot && namedPng != (format == PictureCheck::Png);
}

void ReportPicture(const char* path, const std::string& problem) {
    std::fprintf(stderr, "%s: %s\n", path, problem.c_str());
}

// Loads one picture; a file that is not fine is named on standard error, and
// one too large for a texture is not handed to the image library at all.
GLuint LoadPicture(const char* path, int maxSide) {
    const PictureCheck check = CheckPicture(path, maxSide);
    if (check.verdict == PictureCheck::TooLarge) {
        ReportPicture(path, check.problem + "; not shown");
        return 0;
    }
    GLuint texture = ilutGLLoadImage(const_cast<ILstring>(path));
    if (check.verdict == PictureCheck::Fine && !texture && NamedAsOther(path, check.format)) {
        // The image library picks its decoder by the file's name.
        ReportPicture(path, std::string("a ") + (check.format == PictureCheck::Png ? "PNG" : "JPEG") +
                                " picture in a file named " + std::strrchr(path, '.') + "; not shown");
    } else if (check.verdict != PictureCheck::Fine) {
        ReportPicture(path, check.problem + (texture ? "; shown as far as it decodes" : "; not shown"));
    } else if (!texture) {
        ReportPicture(path, "could not be decoded; not shown");
    }
    return texture;
}

void CreateBlankTexture(GLuint* texture) {
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
}

bool HasFramebufferObjects() {
    return epoxy_has_gl_extension("GL_EXT_framebuffer_object");
}

void ShowFboError() {
    MessageBoxA(nullptr, "Failed to initialize FBO!", "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool LoadTextureSet() {
    ilInit();
    iluInit();
    ilutRenderer(ILUT_OPENGL);
    ilutInit();

    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    for (const PictureFile& picture : Pictures) {
        *picture.texture = LoadPicture(picture.path, maxSide);
    }

    for (GLuint* blank : BlankTextures) {
        CreateBlankTexture(blank);
    }
    // The fourth is still bound.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    // An entry point the driver lacks would abort the process when resolved.
    if (HasFramebufferObjects()) {
        glGenerateMipmapEXT(GL_TEXTURE_2D);
    }
    return true;
}

bool PrepareGraphics() {
    LoadTextureSet();

    // Without the extension its entry points cannot be resolved: the target
    // counts as incomplete.
    if (!HasFramebufferObjects()) {
        ShowFboError();
        return false;
    }

    glGenFramebuffersEXT(1, &OffscreenFramebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, OffscreenFramebuffer);
    glGenRenderbuffersEXT(1, &OffscreenDepthBuffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, OffscreenDepthBuffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT, 512, 512);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D, BlankTexture2, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 OffscreenDepthBuffer);
    if (glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        // The target stays bound; it goes with the rendering context.
        ShowFboError();
        return false;
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    return true;
}

bool ReleaseTextureSet() {
    // This runs after the rendering context is gone and took every texture's
    // storage with it; no OpenGL call may be made now. Only the names and the
    // image library's own state remain to let go.
    for (const PictureFile& picture : Pictures) {
        *picture.texture = 0;
    }
    for (GLuint* blank : BlankTextures) {
        *blank = 0;
    }
    ilShutDown();
    return true;
}
