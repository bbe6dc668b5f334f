// PNG pictures through libspng, with limits on dimensions and chunk sizes.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "media/picture_pixels.h"

// Decodes `bytes` to 8-bit RGBA; `problem` tells what was wrong. The rows a
// damaged or cut-short picture lacks stay transparent black. False when
// there is nothing to show.
// `exif` receives the picture's EXIF data, if any.
// Whether the header reads and names a size a picture may have; `problem`
// tells what is wrong, in the words DecodePng would use.
bool CheckPngHeader(std::string_view bytes, std::string* problem);
// `halvings` (when given) says, from the picture's size and the EXIF data
// found before its pixels, how many times its columns may be averaged in
// pairs as its rows arrive (the first steps of reducing it), so that a large
// picture is never held at its full width.
using ColumnHalvings = std::function<int(int width, int height, std::string_view exif)>;
bool DecodePng(std::string_view bytes, const ColumnHalvings& halvings, Pixels* picture, std::string* exif,
               std::string* problem);
// The same, read from an open file as it decodes, so that the file is never
// held whole in memory.
bool DecodePngFile(std::FILE* file, const ColumnHalvings& halvings, Pixels* picture, std::string* exif,
                   std::string* problem);
