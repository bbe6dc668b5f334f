// The textures loaded at start-up and the off-screen render target.
#pragma once

#include "gl.h"

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

extern GLuint OffscreenFramebuffer;
extern GLuint OffscreenDepthBuffer;

bool PrepareGraphics();
bool LoadTextureSet();
bool ReleaseTextureSet();
