// The eighteen picture files, in the order they are loaded, with the texture
// each becomes and how large the scene that draws it can show it.
#pragma once

#include "gl.h"

struct PictureFile {
    const char* path;
    GLuint* texture;
    // The quad it is drawn on, in units, and its nearest distance from the eye.
    float quadWidth;
    float quadHeight;
    float distance;
};

constexpr int PictureFileCount = 18;
extern const PictureFile PictureFiles[PictureFileCount];
