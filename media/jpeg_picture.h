// JPEG pictures through libjpeg-turbo's TurboJPEG API: decoded at 1/8, 1/4,
// 1/2 size (or another eighth) inside the decoder where that is still enough
// for the screen.
#pragma once

#include <string>
#include <string_view>

#include "media/picture_decoder.h"
#include "media/picture_pixels.h"

// Decodes `bytes` at the smallest size at least `area` (or whole when the
// picture is smaller); `problem` tells what was wrong. False when there is
// nothing to show.
// Whether the header reads and names a size a picture may have; `problem`
// tells what is wrong, in the words DecodeJpeg would use.
bool CheckJpegHeader(std::string_view bytes, std::string* problem);
bool DecodeJpeg(std::string_view bytes, ScreenArea area, Pixels* picture, std::string* problem);
