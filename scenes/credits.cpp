#include "gl.h"
#include "media/music.h"
#include "media/texture_set.h"
#include "scenes/scenes.h"
#include "scenes/unit_quad.h"

bool CreditsLatch = true;
double CreditsEnd = 25468056.0;

namespace {

struct Slide {
    float start;  // inclusive, bytes of music
    float end;    // exclusive
    const GLuint* texture;
};

const Slide Slides[] = {
    {21727784.0f, 22397784.0f, &VekCredsTexture},
    {22397784.0f, 22997784.0f, &JubCredsTexture},
    {22997784.0f, 23597784.0f, &SnurfelsCredsTexture},
    {23597784.0f, 24197784.0f, &QuillackCredsTexture},
    {24197784.0f, 24797784.0f, &ZephruntCredsTexture},
    {24797784.0f, 25468056.0f, &EndPictureTexture},
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
    glTranslatef(-0.35f, 0.0f, -2.41f);

    for (const Slide& slide : Slides) {
        if (slide.start <= MusicPosition && MusicPosition < slide.end) {
            // A wide 2.7 by 2 quad that just overfills the view.
            DrawTexturedQuad(*slide.texture, -1.0f, -1.0f, 1.7f, 1.0f);
        }
    }

    if (static_cast<double>(MusicPosition) >= CreditsEnd) {
        CreditsLatch = true;
    }
    return 1;
}
