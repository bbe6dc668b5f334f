// The textures of the pictures and the four blank ones.
#pragma once

#include "gl.h"
#include "media/picture_table.h"

extern GLuint LogoTexture;
extern GLuint VekCredsTexture;
extern GLuint JubCredsTexture;
extern GLuint SnurfelsCredsTexture;
extern GLuint QuillackCredsTexture;
extern GLuint ZephruntCredsTexture;
extern GLuint EndPictureTexture;
extern GLuint FlipFrameA;
extern GLuint FlipFrameB;
extern GLuint TuvrelTexture;
extern GLuint NerdTexture;
extern GLuint LyricsTexture;
extern GLuint BackgroundTexture;
extern GLuint DemosceneTexture;
extern GLuint Vacation1Texture;
extern GLuint Vacation2Texture;
extern GLuint Vacation3Texture;
extern GLuint AssTexture;

extern GLuint BlankTexture1;
extern GLuint BlankTexture2;
extern GLuint BlankTexture3;
extern GLuint BlankTexture4;

// The texture variable of each picture, in the table's order.
extern GLuint* const PictureTextures[PictureCount];

inline GLuint PictureTexture(PictureId picture) {
    return *PictureTextures[PictureIndex(picture)];
}

// The pictures, decoded for a picture area `pictureHeight` pixels high (those
// due later follow between frames: UploadPictures), and the blank textures;
// a picture that cannot be shown is named on standard error and keeps
// texture 0. Needs the rendering context.
void LoadTextureSet(int pictureHeight);
// Forgets every name: called once the rendering context, and with it every
// texture, is gone.
void ReleaseTextureSet();
