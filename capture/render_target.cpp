#include "capture/render_target.h"

#include <algorithm>

#include "gl.h"
#include "scenes/view.h"

namespace {
GLuint CaptureFramebuffer = 0;
GLuint CaptureColour = 0;
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
    // No depth buffer: every scene clears depth before each of its layers, and
    // each layer is one quad, so no fragment ever fails the depth test and
    // the pixels are those of the player's window with its depth buffer;
    // without one, llvmpipe neither tests nor writes depth (an eighth less
    // work per frame).
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
        CaptureFramebuffer = CaptureColour = 0;
    }
}

void ReadFrame(int width, int height, std::vector<uint8_t>* rgba) {
    rgba->resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
}
