// Textured quads facing the viewer.
#pragma once

#include "gl.h"

// Binds the texture and draws it on a quad from (left, bottom) to (right, top)
// at z 0. A picture that did not load (texture 0) is not drawn at all, so
// what lies behind it shows, rather than an untextured white quad.
inline void DrawTexturedQuad(GLuint texture, float left, float bottom, float right, float top) {
    if (texture == 0) {
        return;
    }
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(left, bottom, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(right, bottom, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(right, top, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(left, top, 0.0f);
    glEnd();
}

// The 2 by 2 quad most pictures are drawn on.
inline void DrawUnitQuad(GLuint texture) {
    DrawTexturedQuad(texture, -1.0f, -1.0f, 1.0f, 1.0f);
}
