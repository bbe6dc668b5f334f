#include "presentation_doubles.h"

#include <string>

#include "gl.h"
#include "call_log.h"
#include "media/music.h"
#include "media/picture_loader.h"
#include "media/texture_set.h"
#include "scenes/scenes.h"

GLuint OffscreenFramebuffer = 0;
GLuint OffscreenDepthBuffer = 0;

PresentationScript& Presentation() {
    static PresentationScript script;
    return script;
}

namespace {

int Next(std::deque<int>& returns) {
    if (returns.empty()) {
        return 0;
    }
    const int value = returns.front();
    returns.pop_front();
    return value;
}

void GLAPIENTRY LogDeleteFramebuffers(GLsizei count, const GLuint* names) {
    LogCall("glDeleteFramebuffersEXT " + std::to_string(count) + " " + std::to_string(*names));
}

void GLAPIENTRY LogDeleteRenderbuffers(GLsizei count, const GLuint* names) {
    LogCall("glDeleteRenderbuffersEXT " + std::to_string(count) + " " + std::to_string(*names));
}

void GLAPIENTRY LogViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    LogCall("glViewport " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
            std::to_string(height));
}

void GLAPIENTRY LogMatrixMode(GLenum mode) {
    LogCall("glMatrixMode " + std::to_string(mode));
}

}  // namespace

void ResetPresentation() {
    Presentation() = PresentationScript{};
    OffscreenFramebuffer = 11;
    OffscreenDepthBuffer = 12;
    epoxy_glDeleteFramebuffersEXT = LogDeleteFramebuffers;
    epoxy_glDeleteRenderbuffersEXT = LogDeleteRenderbuffers;
    epoxy_glViewport = LogViewport;
    epoxy_glMatrixMode = LogMatrixMode;
}

void StartPictureDecoding(int pictureHeight) {
    LogCall("StartPictureDecoding " + std::to_string(pictureHeight));
}

bool PrepareGraphics() {
    LogCall("PrepareGraphics");
    return Presentation().prepareGraphicsResult;
}

bool ReleaseTextureSet() {
    LogCall("ReleaseTextureSet");
    return true;
}

void StartMusic() {
    LogCall("StartMusic");
}

void SampleMusic() {
    LogCall("SampleMusic");
}

void ReleaseMusic() {
    LogCall("ReleaseMusic");
}

int OpeningLogoScene() {
    LogCall("OpeningLogoScene");
    return Next(Presentation().logoReturns);
}

int MainSectionScene() {
    LogCall("MainSectionScene");
    return Next(Presentation().mainReturns);
}

int CreditsScene() {
    LogCall("CreditsScene");
    return Next(Presentation().creditsReturns);
}
