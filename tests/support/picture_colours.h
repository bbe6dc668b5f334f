// A colour for every picture, so that a pixel tells which one is on screen:
// far enough apart to be told after H.264 and the browser's filtering.
#pragma once

#include <cstdint>

#include "media/picture_table.h"

struct PictureColour {
    uint8_t r, g, b;
};

inline constexpr PictureColour PictureColours[PictureCount] = {
    {200, 40, 40},   // qorlogo.jpg
    {208, 80, 80},   // VekCreds.jpg
    {80, 208, 80},   // JubCreds.jpg
    {176, 176, 176}, // SnurfelsCreds.jpg
    {96, 16, 16},    // QuillackCreds.jpg
    {16, 96, 16},    // ZephruntCreds.jpg
    {64, 64, 64},    // SluttBilde.jpg
    {224, 32, 128},  // Dwip1.png
    {32, 224, 128},  // Dwip2.png
    {48, 16, 112},   // DwipTuvrel.png
    {112, 48, 16},   // Nerd.jpg
    {240, 240, 16},  // Lyrics.png
    {16, 96, 160},   // KX07.jpg
    {16, 112, 48},   // Demoscene.jpg
    {32, 144, 144},  // DwipVacation1.jpg
    {144, 32, 144},  // DwipVacation2.jpg
    {80, 80, 208},   // DwipVacation3.jpg
    {144, 144, 32},  // Ass.jpg
};

constexpr PictureColour ColourOf(PictureId picture) {
    return PictureColours[PictureIndex(picture)];
}
