// The state of a presentation that has not yet begun.
#include "media/music_clock.h"
#include "scenes/scene_chain.h"
#include "scenes/scenes.h"

void ResetPresentation() {
    OpeningLogoLatch = false;
    LogoRising = true;
    LogoFrozenClock = 0.0f;
    MainSectionLatch = true;
    CreditsLatch = true;
    ResetMusicClock();
}
