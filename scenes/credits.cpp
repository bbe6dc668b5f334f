#include "gl.h"
#include "media/music_clock.h"
#include "media/picture_table.h"
#include "scenes/scenes.h"
#include "scenes/draw_picture.h"

bool CreditsLatch = true;
double CreditsEnd = 25468056.0;

namespace {

struct Slide {
    float start;  // inclusive, bytes of music
    float end;    // exclusive
    PictureId picture;
};

const Slide Slides[] = {
    {21727784.0f, 22397784.0f, PictureId::VekCreds},
    {22397784.0f, 22997784.0f, PictureId::JubCreds},
    {22997784.0f, 23597784.0f, PictureId::SnurfelsCreds},
    {23597784.0f, 24197784.0f, PictureId::QuillackCreds},
    {24197784.0f, 24797784.0f, PictureId::ZephruntCreds},
    {24797784.0f, 25468056.0f, PictureId::EndPicture},
};

}  // namespace

int CreditsScene() {
    if (CreditsLatch) {
        return 0;
    }
    // Texels as they are, not modulated by the current colour.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glTranslatef(-0.35f, 0.0f, -CreditsDistance);

    for (const Slide& slide : Slides) {
        if (slide.start <= MusicPosition && MusicPosition < slide.end) {
            DrawPicture(slide.picture);
        }
    }

    if (static_cast<double>(MusicPosition) >= CreditsEnd) {
        CreditsLatch = true;
    }
    return 1;
}

float FirstSlideMoment(PictureId picture) {
    for (const Slide& slide : Slides) {
        if (slide.picture == picture) {
            return slide.start;
        }
    }
    return -1.0f;
}
