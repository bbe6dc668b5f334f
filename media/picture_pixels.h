// Pixel buffers of decoded pictures: turned upright, reduced, flipped.
#pragma once

#include <cstdint>
#include <vector>

#include "media/pixel_buffer.h"

// RGBA, rows from the top down (the alpha 255 throughout in an opaque picture).
struct Pixels {
    int width = 0;
    int height = 0;
    bool transparent = false;
    PixelBuffer data;
    // The picture's own size when its columns were already averaged as it
    // was decoded (0: width and height are its own), and whether its colours
    // were premultiplied by its alpha for that.
    int fullWidth = 0;
    int fullHeight = 0;
    bool premultiplied = false;
};

// One row of `width` RGBA pixels with its columns averaged in pairs `times`
// times into `out` (width >> times pixels), premultiplied by alpha first
// when asked: the first steps of Reduce, done as rows arrive. The row itself
// is worked in.
void HalveRowColumns(uint8_t* row, int width, int times, bool premultiply, uint8_t* out);

// Turns a picture upright from how an EXIF orientation (1 to 8) says it is stored.
void ApplyOrientation(Pixels& picture, int orientation);

// The picture's own size, whether or not its columns were averaged already.
int FullWidth(const Pixels& picture);
int FullHeight(const Pixels& picture);

// Reduces to `width` x `height`: halved by averaging while that stays at
// least as large, then a Lanczos filter; a transparent picture with its
// alpha premultiplied meanwhile, so that transparent pixels lend no colour
// to their neighbours.
void Reduce(Pixels& picture, int width, int height);

// Reverses the order of the rows: OpenGL's first row is the bottom one.
void FlipRows(Pixels& picture);
