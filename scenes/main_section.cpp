#include "gl.h"
#include "media/music_clock.h"
#include "media/picture_table.h"
#include "scenes/scenes.h"
#include "scenes/draw_picture.h"

bool MainSectionLatch = true;
float MainSectionEnd = 21727784.0f;

namespace {
const float LyricsAlphaReference = 0.4f;
}

int MainSectionScene() {
    if (MainSectionLatch) {
        return 0;
    }
    if (MainSectionEnd <= MusicPosition) {
        MainSectionLatch = true;
        CreditsLatch = false;
    }

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    // Background, pushed right and up by two bins of the spectrum.
    glTranslatef(SpectrumBuffer[1] * 0.8f, SpectrumBuffer[4] * 0.5f, -BackgroundDistance);
    DrawPicture(PictureId::Background);

    // Lyrics sheet, rising slowly; its clear parts let the background through.
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, SlowClock / 46.0f - 2.0f, -LyricsDistance);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, LyricsAlphaReference);
    DrawPicture(PictureId::Lyrics);

    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -PhotoLayerDistance);
    DrawPhotoLayer(MusicPosition, SlowClock);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDisable(GL_ALPHA_TEST);
    return 1;
}
