// PNG pictures through libspng, with limits on dimensions and chunk sizes.
#pragma once

#include <string>

#include "media/picture_pixels.h"

// Decodes `bytes` to 8-bit RGBA; `problem` tells what was wrong. The rows a
// damaged or cut-short picture lacks stay transparent black. False when
// there is nothing to show.
// `exif` receives the picture's EXIF data, if any.
bool DecodePng(const std::string& bytes, Pixels* picture, std::string* exif, std::string* problem);
