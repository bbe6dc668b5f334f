#include "presentation_doubles.h"

#include <string>

#include "gl.h"
#include "app/render_window.h"
#include "call_log.h"
#include "media/graphics_setup.h"
#include "media/music.h"
#include "media/picture_loader.h"
#include "media/picture_upload.h"
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
    MusicPosition = 0.0f;
    epoxy_glViewport = LogViewport;
    epoxy_glMatrixMode = LogMatrixMode;
}

// The clock the loop reads: each sample moves it on by 1000 bytes.
float MusicPosition = 0.0f;

void StartPictureDecoding(int pictureHeight, const PictureMoments& moments) {
    LogCall("StartPictureDecoding " + std::to_string(pictureHeight) +
            (moments == FirstMoments() ? " in the order of need" : " other"));
}

void UploadPictures(float position) {
    if (Presentation().logUploads) {
        LogCall("UploadPictures " + std::to_string(static_cast<int>(position)));
    }
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
    MusicPosition += 1000.0f;
}

void ReleaseMusic() {
    LogCall("ReleaseMusic");
}

void ResetPresentation() {
    LogCall("ResetPresentation");
}

// The logo at once, every other picture a moment of its own later.
PictureMoments FirstMoments() {
    PictureMoments moments{};
    for (int i = 0; i < PictureCount; ++i) {
        moments[i] = 1000.0f * static_cast<float>(i);
    }
    return moments;
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
