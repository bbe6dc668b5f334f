// Frames and sheets written as PNG, losslessly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RGB rows from the top down, from RGBA rows from the bottom up (as read
// back from OpenGL); the alpha is dropped.
std::vector<uint8_t> RgbFromFrame(const std::vector<uint8_t>& rgba, int width, int height);

// Writes 8-bit RGB rows from the top down to `path`, through a temporary
// file; an existing file is replaced only with `overwrite`. False with
// `error` set, and nothing left behind.
bool WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height, bool overwrite,
              std::string* error);
