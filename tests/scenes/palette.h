// A colour for every picture, and textures of those colours in the texture set.
#pragma once

#include "scene_fixture.h"

namespace palette {
const Colour Logo{200, 40, 40};
const Colour Background{16, 96, 160};
const Colour Lyrics{240, 240, 16};
const Colour FlipA{224, 32, 128};
const Colour FlipB{32, 224, 128};
const Colour Nerd{112, 48, 16};
const Colour Demoscene{16, 112, 48};
const Colour Tuvrel{48, 16, 112};
const Colour Ass{144, 144, 32};
const Colour Vacation1{32, 144, 144};
const Colour Vacation2{144, 32, 144};
const Colour Vacation3{80, 80, 208};
const Colour Credits[6] = {{208, 80, 80}, {80, 208, 80}, {176, 176, 176}, {96, 16, 16}, {16, 96, 16}, {64, 64, 64}};
}  // namespace palette

// Opaque pictures everywhere; the lyrics sheet fully transparent unless a test says otherwise.
inline void PaintTextureSet(unsigned char lyricsAlpha = 0) {
    using namespace palette;
    LogoTexture = SceneTest::Solid(Logo);
    BackgroundTexture = SceneTest::Solid(Background);
    LyricsTexture = SceneTest::Solid(Lyrics, lyricsAlpha);
    FlipFrameA = SceneTest::Solid(FlipA);
    FlipFrameB = SceneTest::Solid(FlipB);
    NerdTexture = SceneTest::Solid(Nerd);
    DemosceneTexture = SceneTest::Solid(Demoscene);
    TuvrelTexture = SceneTest::Solid(Tuvrel);
    AssTexture = SceneTest::Solid(Ass);
    Vacation1Texture = SceneTest::Solid(Vacation1);
    Vacation2Texture = SceneTest::Solid(Vacation2);
    Vacation3Texture = SceneTest::Solid(Vacation3);
    GLuint* credits[6] = {&VekCredsTexture,      &JubCredsTexture,      &SnurfelsCredsTexture,
                          &QuillackCredsTexture, &ZephruntCredsTexture, &EndPictureTexture};
    for (int i = 0; i < 6; ++i) {
        *credits[i] = SceneTest::Solid(Credits[i]);
    }
}
