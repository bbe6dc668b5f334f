// Pixel buffers of decoded pictures: turned upright, reduced, flipped.
#pragma once

#include <cstdint>
#include <vector>

// RGBA, rows from the top down (the alpha 255 throughout in an opaque picture).
struct Pixels {
    int width = 0;
    int height = 0;
    bool transparent = false;
    std::vector<uint8_t> data;
};

// Turns a picture upright from how an EXIF orientation (1 to 8) says it is stored.
void ApplyOrientation(Pixels& picture, int orientation);

// Reduces to `width` x `height`: halved by averaging while that stays at
// least as large, then a Lanczos filter; a transparent picture with its
// alpha premultiplied meanwhile, so that transparent pixels lend no colour
// to their neighbours.
void Reduce(Pixels& picture, int width, int height);

// Reverses the order of the rows: OpenGL's first row is the bottom one.
void FlipRows(Pixels& picture);
