// An OpenGL compatibility context with no window and no display: EGL on
// Mesa's surfaceless platform, or the default EGL display where that is
// missing. Nothing is drawn until a framebuffer object is bound.
#pragma once

#include <string>

// False with `error` set when no context could be made current.
bool CreateHeadlessGl(std::string* error);
void DestroyHeadlessGl();
