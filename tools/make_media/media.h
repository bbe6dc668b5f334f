// Writers of the sample media: pictures and music that show the whole
// presentation on a machine that has none of its own.
#pragma once

#include <string>

// Each writes one file at `path`; false with `error` set on failure.
bool WritePicture(const std::string& name, const std::string& path, std::string* error);
bool WriteMusic(const std::string& path, std::string* error);

// The picture files, in the order the program loads them.
extern const char* const PictureNames[18];
