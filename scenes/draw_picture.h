// Textured quads facing the viewer.
#pragma once

#include "gl.h"
#include "media/picture_table.h"
#include "media/texture_set.h"

// Binds the texture and draws it on the quad at z 0. A picture that did not
// load (texture 0) is not drawn at all, so what lies behind it shows, rather
// than an untextured white quad.
inline void DrawTexturedQuad(GLuint texture, const Quad& quad) {
    if (texture == 0) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(quad.left, quad.bottom, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(quad.right, quad.bottom, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(quad.right, quad.top, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(quad.left, quad.top, 0.0f);
    glEnd();
}

// A picture of the set on its own quad.
inline void DrawPicture(PictureId picture) {
    DrawTexturedQuad(PictureTexture(picture), Picture(picture).quad);
}
