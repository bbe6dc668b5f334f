// Pixel buffers of decoded pictures: turned upright, reduced, flipped.
#pragma once

#include <cstdint>
#include <vector>

struct Pixels {
    int width = 0;
    int height = 0;
    int channels = 0;  // 3 or 4, interleaved, rows from the top down
    std::vector<uint8_t> data;
};

// Turns a picture upright from how an EXIF orientation (1 to 8) says it is stored.
void ApplyOrientation(Pixels& picture, int orientation);

// Reduces to `width` x `height` with a Lanczos filter; RGBA with its alpha
// premultiplied meanwhile, so transparent pixels lend no colour to their
// neighbours.
void Reduce(Pixels& picture, int width, int height);

// Reverses the order of the rows: OpenGL's first row is the bottom one.
void FlipRows(Pixels& picture);
