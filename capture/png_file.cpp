#include "capture/png_file.h"

#include <cstring>

#include "capture/output_file.h"
#include "media/png_encoder.h"

std::vector<uint8_t> RgbFromFrame(const std::vector<uint8_t>& rgba, int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    for (int y = 0; y < height; ++y) {
        const uint8_t* from = &rgba[static_cast<size_t>(height - 1 - y) * static_cast<size_t>(width) * 4];
        uint8_t* to = &rgb[static_cast<size_t>(y) * static_cast<size_t>(width) * 3];
        for (int x = 0; x < width; ++x) {
            std::memcpy(to + x * 3, from + x * 4, 3);
        }
    }
    return rgb;
}

bool WritePng(const std::string& path, const std::vector<uint8_t>& rgb, int width, int height, bool overwrite,
              std::string* error) {
    std::string problem;
    const EncodedPng png = EncodePng(rgb.data(), width, height, 3, "", &problem);
    if (!png.bytes) {
        *error = path + ": PNG encoding failed: " + problem;
        return false;
    }
    OutputFile file;
    return file.Create(path, error) && file.Write(png.bytes.get(), png.size, error) && file.Commit(overwrite, error);
}
