// 8-bit PNGs encoded in memory: the capture's frames and stills, the sample
// pictures and the test pictures all come from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

struct EncodedPng {
    std::unique_ptr<void, void (*)(void*)> bytes{nullptr, std::free};
    size_t size = 0;
};

// Rows from the top down, 3 (RGB) or 4 (RGBA) bytes a pixel, with an eXIf
// chunk when `exif` is not empty. Empty `bytes` and the encoder's words in
// `error` when encoding fails.
EncodedPng EncodePng(const uint8_t* pixels, int width, int height, int channels, const std::string& exif,
                     std::string* error);
