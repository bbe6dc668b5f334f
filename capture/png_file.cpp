#include "capture/png_file.h"

#include <spng.h>

#include <cstring>
#include <memory>

#include "capture/output_file.h"

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
    std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)> png(spng_ctx_new(SPNG_CTX_ENCODER), spng_ctx_free);
    if (!png) {
        *error = path + ": out of memory";
        return false;
    }
    spng_set_option(png.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = static_cast<uint32_t>(width);
    header.height = static_cast<uint32_t>(height);
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    spng_set_ihdr(png.get(), &header);
    int result = spng_encode_image(png.get(), rgb.data(), rgb.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
    size_t size = 0;
    void* encoded = result == 0 ? spng_get_png_buffer(png.get(), &size, &result) : nullptr;
    if (!encoded) {
        *error = path + ": PNG encoding failed: " + spng_strerror(result);
        return false;
    }
    std::unique_ptr<void, decltype(&std::free)> owned(encoded, std::free);
    OutputFile file;
    return file.Create(path, error) && file.Write(encoded, size, error) && file.Commit(overwrite, error);
}
