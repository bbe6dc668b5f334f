// Picture files made at test time: solid colours as JPEG (quality 100, no
// chroma subsampling) or PNG, chosen by the name's extension.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
};

// False if the encoder or the file failed.
bool WriteSolidPicture(const std::string& path, Rgb colour, int width = 64, int height = 64);

// A PNG file's pixels as 8-bit RGB rows from the top down; false if it does not decode.
bool ReadPng(const std::string& path, std::vector<uint8_t>* rgb, int* width, int* height);
