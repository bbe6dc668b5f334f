// A colour for every picture, and textures of those colours in the texture set.
#pragma once

#include "scene_fixture.h"
#include "tests/support/picture_colours.h"

namespace palette {
constexpr Colour Of(PictureId picture) {
    return Colour{ColourOf(picture).r, ColourOf(picture).g, ColourOf(picture).b};
}
const Colour Logo = Of(PictureId::Logo);
const Colour Background = Of(PictureId::Background);
const Colour Lyrics = Of(PictureId::Lyrics);
const Colour FlipA = Of(PictureId::FlipFrameA);
const Colour FlipB = Of(PictureId::FlipFrameB);
const Colour Nerd = Of(PictureId::Nerd);
const Colour Demoscene = Of(PictureId::Demoscene);
const Colour Tuvrel = Of(PictureId::Tuvrel);
const Colour Ass = Of(PictureId::Ass);
const Colour Vacation1 = Of(PictureId::Vacation1);
const Colour Vacation2 = Of(PictureId::Vacation2);
const Colour Vacation3 = Of(PictureId::Vacation3);
const Colour Credits[6] = {Of(PictureId::VekCreds),      Of(PictureId::JubCreds),      Of(PictureId::SnurfelsCreds),
                           Of(PictureId::QuillackCreds), Of(PictureId::ZephruntCreds), Of(PictureId::EndPicture)};
}  // namespace palette

// Opaque pictures everywhere; the lyrics sheet fully transparent unless a test says otherwise.
inline void PaintTextureSet(unsigned char lyricsAlpha = 0) {
    for (const PictureEntry& picture : PictureTable) {
        const bool lyrics = picture.id == PictureId::Lyrics;
        *PictureTextures[PictureIndex(picture.id)] = SceneTest::Solid(palette::Of(picture.id), lyrics ? lyricsAlpha : 255);
    }
}
