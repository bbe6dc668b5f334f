#include "presentation_doubles.h"

#include <string>

#include "gl.h"
#include "app/render_window.h"
#include "call_log.h"
#include "media/graphics_setup.h"
#include "media/music.h"
#include "media/picture_loader.h"
#include "media/texture_set.h"
#include "scenes/scene_chain.h"
#include "scenes/scenes.h"

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

void GLAPIENTRY LogViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    LogCall("glViewport " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) + " " +
            std::to_string(height));
}

void GLAPIENTRY LogMatrixMode(GLenum mode) {
    LogCall("glMatrixMode " + std::to_string(mode));
}

}  // namespace

void ResetPresentationDoubles() {
    Presentation() = PresentationScript{};
    epoxy_glViewport = LogViewport;
    epoxy_glMatrixMode = LogMatrixMode;
}

void StartPictureDecoding(int pictureHeight) {
    LogCall("StartPictureDecoding " + std::to_string(pictureHeight));
}

bool PrepareGraphics(int pictureHeight) {
    LogCall("PrepareGraphics " + std::to_string(pictureHeight));
    return Presentation().prepareGraphicsResult;
}

void ReleaseGraphics() {
    LogCall("ReleaseGraphics");
}

void ReleaseTextureSet() {
    LogCall("ReleaseTextureSet");
}

void StartMusic(HWND window) {
    LogCall(std::string("StartMusic ") + (window != nullptr && window == WindowHandle ? "window" : "other"));
}

void SampleMusic() {
    LogCall("SampleMusic");
}

void ReleaseMusic() {
    LogCall("ReleaseMusic");
}

void ResetPresentation() {
    LogCall("ResetPresentation");
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
