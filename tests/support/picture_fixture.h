// Picture files made at test time: solid colours as JPEG (quality 100, no
// chroma subsampling) or PNG, chosen by the name's extension.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

inline std::ostream& operator<<(std::ostream& out, Rgb c) {
    return out << "rgb(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

// False if the encoder or the file failed.
bool WriteSolidPicture(const std::string& path, Rgb colour, int width = 64, int height = 64);

// A PNG file's pixels as 8-bit RGB rows from the top down; false if it does not decode.
bool ReadPng(const std::string& path, std::vector<uint8_t>* rgb, int* width, int* height);

// The EXIF data of a picture stored with that orientation (1 to 8): bare TIFF
// data, as a PNG's eXIf chunk holds it.
std::string ExifOrientation(int orientation);
// A JPEG file with an EXIF segment saying that orientation put after its start.
std::string WithExifSegment(const std::string& jpeg, int orientation);
// A PNG file of the given pixels with an eXIf chunk.
bool WritePngWithExif(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height,
                      int orientation);
// A CMYK JPEG (not YCCK) as print software writes it: an Adobe segment and
// inverted ink, 255 where there is none. Pixels given as RGB.
bool WriteCmykJpeg(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height);
