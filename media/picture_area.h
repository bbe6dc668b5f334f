// How many pixels each picture can use: the screen area its quad covers, and
// the size a picture is reduced to for it. Shared by every way of decoding.
#pragma once

#include "media/picture_table.h"

// The most screen pixels a picture can cover, across and down.
struct ScreenArea {
    int width;
    int height;
};

// What a picture's quad covers on screen, in pixels, for a picture area of
// that height: the quad's size in units at its distance, under the 45-degree
// view.
ScreenArea AreaOnScreen(const PictureEntry& picture, int pictureHeight);

// The size a picture of `width` x `height` is kept at: as it is when it has
// at most about twice the pixels the area can show, else reduced on each
// side to the area (never below it, never enlarged).
void KeptSize(int width, int height, ScreenArea area, int* keptWidth, int* keptHeight);
