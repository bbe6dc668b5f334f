// The state of a presentation that has not yet begun, and when it first
// shows each picture.
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

PictureMoments FirstMoments() {
    PictureMoments moments{};
    for (const PictureEntry& picture : PictureTable) {
        float& moment = moments[PictureIndex(picture.id)];
        switch (picture.scene) {
        case DrawnBy::OpeningLogo:
            moment = 0.0f;
            break;
        case DrawnBy::MainSection:
            moment = OpeningLogoEnd;
            break;
        case DrawnBy::PhotoSchedule:
            moment = FirstPhotoMoment(picture.id);
            break;
        case DrawnBy::Credits:
            moment = FirstSlideMoment(picture.id);
            break;
        }
    }
    return moments;
}
