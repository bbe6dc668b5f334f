// Everything the scenes need from OpenGL, made once at start-up with the
// rendering context current: the texture set, the off-screen target and the
// fixed drawing state.
#pragma once

#include "gl.h"

extern GLuint OffscreenFramebuffer;
extern GLuint OffscreenDepthBuffer;

// Loads the texture set for a picture area `pictureHeight` pixels high,
// builds and checks the off-screen target, sets the fixed state. False (the
// user told) when the driver's framebuffer objects do not work.
bool PrepareGraphics(int pictureHeight);
// Whether the driver offers the framebuffer-object extension: without it
// its entry points cannot even be resolved.
bool HasFramebufferObjects();
// Deletes the off-screen target, while the rendering context is still current.
void ReleaseGraphics();
