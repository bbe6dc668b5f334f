// The view every scene is drawn in.
#pragma once

// Viewport at (x, y) of that size, a 45-degree vertical field of view of the
// viewport's shape, near plane 0.1 and far plane 200; the modelview matrix
// selected and reset. The height must not be 0.
void SetPresentationView(int x, int y, int width, int height);
