#include "capture/render_target.h"

#include <algorithm>

#include "gl.h"
#include "scenes/view.h"

namespace {
GLuint CaptureFramebuffer = 0;
GLuint CaptureColour = 0;
GLuint CaptureDepth = 0;
}  // namespace

PictureArea CentredPicture(int width, int height) {
    // Even sizes keep the bars equal and whole.
    const int pictureWidth = std::min(width, height * 4 / 3) / 2 * 2;
    const int pictureHeight = std::min(height, pictureWidth * 3 / 4) / 2 * 2;
    return PictureArea{(width - pictureWidth) / 2, (height - pictureHeight) / 2, pictureWidth, pictureHeight};
}

void MaxRenderSize(int* width, int* height) {
    GLint renderbuffer = 0;
    GLint viewport[2] = {};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE_EXT, &renderbuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    *width = std::min(renderbuffer, viewport[0]);
    *height = std::min(renderbuffer, viewport[1]);
}

bool CreateRenderTarget(int width, int height, std::string* error) {
    glGenFramebuffersEXT(1, &CaptureFramebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, CaptureFramebuffer);
    glGenRenderbuffersEXT(1, &CaptureColour);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, CaptureColour);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, width, height);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, CaptureColour);
    // The player's window has a 16-bit depth buffer: the same here.
    glGenRenderbuffersEXT(1, &CaptureDepth);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, CaptureDepth);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_DEPTH_COMPONENT16, width, height);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT, CaptureDepth);
    if (glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) != GL_FRAMEBUFFER_COMPLETE_EXT) {
        *error = "a framebuffer of " + std::to_string(width) + " x " + std::to_string(height) +
                 " pixels could not be made";
        return false;
    }
    // The bars: the scenes clear the whole target to black every frame.
    const PictureArea picture = CentredPicture(width, height);
    SetPresentationView(picture.x, picture.y, picture.width, picture.height);
    glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    return true;
}

void DestroyRenderTarget() {
    if (CaptureFramebuffer) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDeleteFramebuffersEXT(1, &CaptureFramebuffer);
        glDeleteRenderbuffersEXT(1, &CaptureColour);
        glDeleteRenderbuffersEXT(1, &CaptureDepth);
        CaptureFramebuffer = CaptureColour = CaptureDepth = 0;
    }
}

void ReadFrame(int width, int height, std::vector<uint8_t>* rgba) {
    rgba->resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
}
