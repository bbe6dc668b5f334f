#include "media/picture_files.h"

#include "media/texture_set.h"

// The distances are the scenes' translations: a picture is never seen nearer.
const PictureFile PictureFiles[PictureFileCount] = {
    {"data/qorlogo.jpg", &LogoTexture, 2.0f, 5.0f, 1.769f},
    {"data/VekCreds.jpg", &VekCredsTexture, 2.7f, 2.0f, 2.41f},
    {"data/JubCreds.jpg", &JubCredsTexture, 2.7f, 2.0f, 2.41f},
    {"data/SnurfelsCreds.jpg", &SnurfelsCredsTexture, 2.7f, 2.0f, 2.41f},
    {"data/QuillackCreds.jpg", &QuillackCredsTexture, 2.7f, 2.0f, 2.41f},
    {"data/ZephruntCreds.jpg", &ZephruntCredsTexture, 2.7f, 2.0f, 2.41f},
    {"data/SluttBilde.jpg", &EndPictureTexture, 2.7f, 2.0f, 2.41f},
    {"data/Dwip1.png", &FlipFrameA, 2.0f, 2.0f, 1.5f},
    {"data/Dwip2.png", &FlipFrameB, 2.0f, 2.0f, 1.5f},
    {"data/DwipTuvrel.png", &TuvrelTexture, 2.0f, 2.0f, 2.0f},
    {"data/Nerd.jpg", &NerdTexture, 2.0f, 2.0f, 4.0f},
    {"data/Lyrics.png", &LyricsTexture, 2.0f, 2.0f, 1.65f},
    {"data/KX07.jpg", &BackgroundTexture, 2.0f, 2.0f, 1.8f},
    {"data/Demoscene.jpg", &DemosceneTexture, 2.0f, 2.0f, 4.0f},
    {"data/DwipVacation1.jpg", &Vacation1Texture, 2.0f, 2.0f, 3.0f},
    {"data/DwipVacation2.jpg", &Vacation2Texture, 2.0f, 2.0f, 3.0f},
    {"data/DwipVacation3.jpg", &Vacation3Texture, 2.0f, 2.0f, 3.0f},
    {"data/Ass.jpg", &AssTexture, 2.0f, 2.0f, 3.0f},
};
