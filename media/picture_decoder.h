// Pictures decoded for the screen: a JPEG or PNG file, recognised by its
// contents, turned upright by its EXIF orientation and reduced to the pixels
// the screen can use, as rows from the bottom up ready for a texture.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/pixel_buffer.h"

#include "media/picture_area.h"

struct DecodedPicture {
    int width = 0;   // 0: nothing to show
    int height = 0;
    bool transparent = false;     // has an alpha that is not 255 throughout
    PixelBuffer pixels;  // RGBA, rows from the bottom up
    std::string problem;          // what is wrong with the file, "" when nothing
};


// What is wrong with the file at `path` before any decoding ("" when its
// header reads), from its first bytes: missing, empty, too large, not a
// picture, a damaged header or an absurd size, in the decoder's own words.
std::string CheckPictureFile(const std::string& path);

// Never throws and never trusts a size the file claims beyond what can be
// decoded: a picture too large, damaged or cut short is told in `problem`,
// and shown as far as it decodes.
DecodedPicture DecodePicture(const std::string& path, ScreenArea area);
// The same for the file's bytes.
DecodedPicture DecodePictureData(std::string_view bytes, ScreenArea area);
