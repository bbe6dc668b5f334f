#include "gl.h"
#include "media/music_clock.h"
#include "media/picture_table.h"
#include "scenes/scenes.h"
#include "scenes/draw_picture.h"

bool OpeningLogoLatch = false;
bool LogoRising = true;
float LogoFrozenClock = 0.0f;
float OpeningLogoEnd = 3235176.0f;

namespace {
const float LogoFreezePosition = 2655499.0f;
const float LogoHeightDivisor = 5.0f;
const float LogoHeightOffset = -2.8f;
}  // namespace

int OpeningLogoScene() {
    if (OpeningLogoLatch) {
        return 0;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    // The freeze runs first, so the scene never ends while still rising.
    if (MusicPosition >= LogoFreezePosition) {
        if (LogoRising) {
            LogoRising = false;
            LogoFrozenClock = SlowClock;
        }
        glTranslatef(0.0f, LogoFrozenClock / LogoHeightDivisor + LogoHeightOffset, -LogoDistance);
    }
    if (LogoRising) {
        glTranslatef(0.0f, SlowClock / LogoHeightDivisor + LogoHeightOffset, -LogoDistance);
    }

    // A tall quad: only a band of it is in view at a time.
    DrawPicture(PictureId::Logo);

    if (MusicPosition >= OpeningLogoEnd) {
        OpeningLogoLatch = true;
        MainSectionLatch = false;
    }
    return 1;
}
