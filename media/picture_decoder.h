// Pictures decoded for the screen: a JPEG or PNG file, recognised by its
// contents, turned upright by its EXIF orientation and reduced to the pixels
// the screen can use, as rows from the bottom up ready for a texture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/picture_area.h"

struct DecodedPicture {
    int width = 0;   // 0: nothing to show
    int height = 0;
    bool transparent = false;     // has an alpha that is not 255 throughout
    std::vector<uint8_t> pixels;  // RGBA, rows from the bottom up
    std::string problem;          // what is wrong with the file, "" when nothing
};


// Never throws and never trusts a size the file claims beyond what can be
// decoded: a picture too large, damaged or cut short is told in `problem`,
// and shown as far as it decodes.
DecodedPicture DecodePicture(const std::string& path, ScreenArea area);
// The same for the file's bytes.
DecodedPicture DecodePictureData(const std::string& bytes, ScreenArea area);
