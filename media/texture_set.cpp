#include "media/texture_set.h"

#include <cstdio>
#include <string>

#include "gl.h"
#include "media/graphics_setup.h"
#include "media/picture_loader.h"

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

void ReportPicture(const char* path, const std::string& problem) {
    std::fprintf(stderr, "%s: %s\n", path, problem.c_str());
}

// A texture of a decoded picture, filtered and wrapped as the scenes have
// always drawn them; 0 (nothing drawn) when there is nothing to show, told
// on standard error as any other problem with the file.
GLuint UploadPicture(const char* path, DecodedPicture picture, GLint maxSide) {
    if (picture.width == 0 && picture.problem.empty()) {
        return 0;  // not decoded: the program is stopping
    }
    if (picture.width == 0) {
        ReportPicture(path, picture.problem + "; not shown");
        return 0;
    }
    if (picture.width > maxSide || picture.height > maxSide) {
        ReportPicture(path, std::to_string(picture.width) + " x " + std::to_string(picture.height) +
                                " pixels is more than a texture can hold (at most " + std::to_string(maxSide) +
                                " on a side); not shown");
        return 0;
    }
    if (!picture.problem.empty()) {
        ReportPicture(path, picture.problem + "; shown as far as it decodes");
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // Opaque pictures keep no alpha; every picture arrives as RGBA, which
    // the driver takes fastest.
    const GLint internalFormat = picture.transparent ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, picture.width, picture.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 picture.pixels.data());
    return texture;
}

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
    // Decoded on other threads since start-up; uploaded here, in load order.
    StartPictureDecoding(pictureHeight);
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    for (int i = 0; i < PictureCount; ++i) {
        *PictureTextures[i] = UploadPicture(PictureTable[i].path, TakeDecodedPicture(i), maxSide);
    }
    StopPictureDecoding();

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
    StopPictureDecoding();
}
