#include "media/graphics_setup.h"

#include <windows.h>

#include "media/texture_set.h"

GLuint OffscreenFramebuffer = 0;
GLuint OffscreenDepthBuffer = 0;

namespace {

void ShowFboError() {
    MessageBoxA(nullptr, "Failed to initialize FBO!", "ERROR", MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

bool HasFramebufferObjects() {
    return epoxy_has_gl_extension("GL_EXT_framebuffer_object");
}

bool PrepareGraphics(int pictureHeight) {
    LoadTextureSet(pictureHeight);

    // Without the extension the target counts as incomplete.
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

void ReleaseGraphics() {
    glDeleteFramebuffersEXT(1, &OffscreenFramebuffer);
    glDeleteRenderbuffersEXT(1, &OffscreenDepthBuffer);
}
