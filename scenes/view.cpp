#include "scenes/view.h"

#include "gl.h"

void SetPresentationView(int x, int y, int width, int height) {
    glViewport(x, y, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const float nearPlane = 0.1f;
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), nearPlane, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
