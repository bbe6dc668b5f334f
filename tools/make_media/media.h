// Writers of the sample media: pictures and music that show the whole
// presentation on a machine that has none of its own.
#pragma once

#include <string>

#include "media/picture_table.h"

// Each writes one file at `path`; false with `error` set on failure.
bool WritePicture(PictureId picture, const std::string& path, std::string* error);
bool WriteMusic(const std::string& path, std::string* error);
