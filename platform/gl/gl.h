// OpenGL with its extensions resolved lazily by libepoxy, then GLU.
#pragma once

#include <epoxy/gl.h>
#include <GL/glu.h>
