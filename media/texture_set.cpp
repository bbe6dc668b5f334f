#include "media/texture_set.h"

#include "gl.h"
#include "media/graphics_setup.h"
#include "media/picture_loader.h"
#include "media/picture_upload.h"

GLuint LogoTexture = 0;
GLuint VekCredsTexture = 0;
GLuint JubCredsTexture = 0;
GLuint SnurfelsCredsTexture = 0;
GLuint QuillackCredsTexture = 0;
GLuint ZephruntCredsTexture = 0;
GLuint EndPictureTexture = 0;
GLuint FlipFrameA = 0;
GLuint FlipFrameB = 0;
GLuint TuvrelTexture = 0;
GLuint NerdTexture = 0;
GLuint LyricsTexture = 0;
GLuint BackgroundTexture = 0;
GLuint DemosceneTexture = 0;
GLuint Vacation1Texture = 0;
GLuint Vacation2Texture = 0;
GLuint Vacation3Texture = 0;
GLuint AssTexture = 0;

GLuint BlankTexture1 = 0;
GLuint BlankTexture2 = 0;
GLuint BlankTexture3 = 0;
GLuint BlankTexture4 = 0;

GLuint* const PictureTextures[PictureCount] = {
    &LogoTexture,        &VekCredsTexture,      &JubCredsTexture,   &SnurfelsCredsTexture, &QuillackCredsTexture,
    &ZephruntCredsTexture, &EndPictureTexture,  &FlipFrameA,        &FlipFrameB,           &TuvrelTexture,
    &NerdTexture,        &LyricsTexture,        &BackgroundTexture, &DemosceneTexture,     &Vacation1Texture,
    &Vacation2Texture,   &Vacation3Texture,     &AssTexture,
};

namespace {

GLuint* const BlankTextures[] = {&BlankTexture1, &BlankTexture2, &BlankTexture3, &BlankTexture4};

void CreateBlankTexture(GLuint* texture) {
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 512, 512, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(GL_CLAMP_TO_EDGE));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(GL_LINEAR));
}

}  // namespace

void LoadTextureSet(int pictureHeight) {
    // Decoding on other threads since start-up; what the first frame shows is
    // uploaded now, the rest between frames (UploadPictures).
    StartPictureDecoding(pictureHeight);
    UploadStartPictures();

    for (GLuint* blank : BlankTextures) {
        CreateBlankTexture(blank);
    }
    // The fourth is still bound.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    // An entry point the driver lacks would abort the process when resolved.
    if (HasFramebufferObjects()) {
        glGenerateMipmapEXT(GL_TEXTURE_2D);
    }
    DecodeInBackground();
}

void ReleaseTextureSet() {
    // This runs after the rendering context is gone and took every texture's
    // storage with it; no OpenGL call may be made now. Only the names remain
    // to let go, and any decoding not yet taken.
    for (GLuint* texture : PictureTextures) {
        *texture = 0;
    }
    for (GLuint* blank : BlankTextures) {
        *blank = 0;
    }
    ForgetPictureUploads();
    StopPictureDecoding();
}
